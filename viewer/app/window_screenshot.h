// The --screenshot run: once the main window is up, wait (in real time, bounded) until the panes
// of the cameras with a signal have shown a few frames and the stamps have been drawn, save a
// picture of the window, and close the viewer.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class CQuadrelDlg;
class QWidget;

// Saves what `window` shows as a PNG at `path`; pixels outside the window's shape (its mask)
// are transparent. False when the file cannot be written.
bool SaveWindowPicture(QWidget& window, const QString& path);

class CWindowScreenshot final : public QObject {
    Q_OBJECT

  public:
    CWindowScreenshot(CQuadrelDlg& window, QString path);

    // Starts waiting; call once the window is shown.
    void Start();
    bool Saved() const { return saved_; }

  private:
    void Poll();
    // Every pane whose camera has a signal has shown a few frames (true without a capture).
    bool PanesHaveFrames() const;

    CQuadrelDlg& window_;  // outlives this object
    const QString path_;
    QElapsedTimer clock_;
    QTimer poll_;
    bool saved_ = false;
};
