#include "viewer/alerts/smtp_failure.h"

#include <cerrno>
#include <cstring>

#include "viewer/alerts/smtp.h"
#include "viewer/alerts/smtp_error.h"

namespace {

QString ConnectionReason(int error, bool connecting) {
    switch (error) {
        case 0:
            return QString();
        case ETIMEDOUT:
            return connecting ? QStringLiteral("连接服务器超时 (time-out)")
                              : QStringLiteral("服务器没有及时回复 (time-out)");
        case ECONNREFUSED:
            return QStringLiteral("服务器拒绝连接 (connection refused)");
        case EHOSTUNREACH:
        case ENETUNREACH:
            return QStringLiteral("无法到达服务器 (no route to host)");
        case ECANCELED:
            return QStringLiteral("发送已取消 (cancelled)");
        default:
            return QString::fromLocal8Bit(std::strerror(error));
    }
}

}  // namespace

QString DescribeSmtpFailure(const CSmtp& mail) {
    switch (mail.errorCode) {
        case smtp_error::kNoConnection:
            return ConnectionReason(mail.SocketError(), true);
        case smtp_error::kSendFailed:
        case smtp_error::kReceiveFailed:
            return ConnectionReason(mail.SocketError(), false);
        case smtp_error::kConnectionClosed:
            return QStringLiteral("服务器关闭了连接 (connection closed)");
        default:
            break;
    }
    QString reply = QString::fromLocal8Bit(mail.LastReply()).trimmed();
    if (reply.isEmpty()) return QString();
    return QStringLiteral("服务器回复: ") + reply;
}
