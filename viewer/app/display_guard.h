// The start of Qt's window system connection, watched: without a display Qt's platform plugin
// fails with a fatal error that aborts the program (a core dump and a page of plugin names).
// While a guard lives, that failure prints one line saying what is needed and ends the program
// with status 1; Qt's other messages of the start are held back and passed on afterwards.
#pragma once

#include <QString>
#include <QtMessageHandler>
#include <string>
#include <vector>

// The line printed when no display can be used.
std::string NoDisplayText();

class CDisplayGuard {
  public:
    CDisplayGuard();
    // Passes on the messages held back, to the handler that was there before.
    ~CDisplayGuard();
    CDisplayGuard(const CDisplayGuard&) = delete;
    CDisplayGuard& operator=(const CDisplayGuard&) = delete;

  private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text);

    // GUI thread only, before any other thread exists: the guard lives around the
    // QApplication's construction.
    struct Held {
        QtMsgType type;
        std::string category;
        QString text;
    };
    std::vector<Held> held_;
    QtMessageHandler previous_ = nullptr;
};
