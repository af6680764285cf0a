#include "viewer/app/display_guard.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

namespace {

// The live guard, for Qt's message handler, which is a plain function. Set only while the
// guard lives.
CDisplayGuard* g_guard = nullptr;

}  // namespace

std::string NoDisplayText() {
    return "quadrel: no display to show the window on (DISPLAY or WAYLAND_DISPLAY is not set, "
           "or its display cannot be reached); without a screen run it as \"xvfb-run -a "
           "quadrel\", or take a picture of the window with \"QT_QPA_PLATFORM=offscreen quadrel "
           "--screenshot FILE.png\"\n";
}

CDisplayGuard::CDisplayGuard() {
    g_guard = this;
    previous_ = qInstallMessageHandler(&CDisplayGuard::Handle);
}

CDisplayGuard::~CDisplayGuard() {
    qInstallMessageHandler(previous_);
    g_guard = nullptr;
    for (const Held& message : held_) {
        const QByteArray category = QByteArray::fromStdString(message.category);
        const QMessageLogContext context(nullptr, 0, nullptr, category.constData());
        if (previous_) {
            previous_(message.type, context, message.text);
        } else {
            std::fprintf(stderr, "%s\n", message.text.toLocal8Bit().constData());
        }
    }
}

void CDisplayGuard::Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg && text.contains(QLatin1String("platform plugin"))) {
        // No platform plugin could be set up; Qt would abort right after this returns.
        std::fputs(NoDisplayText().c_str(), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (type == QtFatalMsg || !g_guard) {
        // Another fatal error: what was held back, then the error, and Qt's abort.
        if (g_guard) {
            for (const Held& message : g_guard->held_)
                std::fprintf(stderr, "%s\n", message.text.toLocal8Bit().constData());
            g_guard->held_.clear();
        }
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return;
    }
    g_guard->held_.push_back({type, context.category ? context.category : "", text});
}
