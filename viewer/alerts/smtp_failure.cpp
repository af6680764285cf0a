#include "viewer/alerts/smtp_failure.h"

#include <cerrno>
#include <cstring>

#include "platform/ui/ui_text.h"
#include "viewer/alerts/smtp.h"
#include "viewer/alerts/smtp_error.h"

namespace {

QString ConnectionReason(int error, bool connecting) {
    switch (error) {
        case 0:
            return QString();
        case ETIMEDOUT:
            return connecting ? ui_text::Message(QStringLiteral("连接服务器超时 (time-out)"))
                              : ui_text::Message(QStringLiteral("服务器没有及时回复 (time-out)"));
        case ECONNREFUSED:
            return ui_text::Message(QStringLiteral("服务器拒绝连接 (connection refused)"));
        case EHOSTUNREACH:
        case ENETUNREACH:
            return ui_text::Message(QStringLiteral("无法到达服务器 (no route to host)"));
        case ECANCELED:
            return ui_text::Message(QStringLiteral("发送已取消 (cancelled)"));
        default:
            return QString::fromLocal8Bit(std::strerror(error));
    }
}

}  // namespace

// The texts are translated here, on the thread that describes the failure, before they are pieced
// together (QCoreApplication::translate may be called on any thread).
QString DescribeSmtpFailure(const CSmtp& mail) {
    const QString tls = QString::fromLocal8Bit(mail.TlsFailure());
    switch (mail.errorCode) {
        case smtp_error::kNoConnection:
            return ConnectionReason(mail.SocketError(), true);
        case smtp_error::kSendFailed:
        case smtp_error::kReceiveFailed: {
            const QString reason = ConnectionReason(mail.SocketError(), false);
            if (!reason.isEmpty() || tls.isEmpty()) return reason;
            return ui_text::Message(QStringLiteral("TLS 连接出错: ")) + tls;
        }
        case smtp_error::kConnectionClosed:
            return ui_text::Message(QStringLiteral("服务器关闭了连接 (connection closed)"));
        case smtp_error::kCertificateNotVerified:
            return ui_text::Message(
                       QStringLiteral("服务器证书验证失败 (certificate not verified): ")) +
                   tls;
        case smtp_error::kTlsFailed: {
            const QString reason = ConnectionReason(mail.SocketError(), false);
            return ui_text::Message(QStringLiteral("TLS 握手失败 (handshake failed): ")) +
                   (reason.isEmpty() ? tls : reason);
        }
        default:
            break;
    }
    const QString reply = QString::fromLocal8Bit(mail.LastReplyLine()).trimmed();
    QString text;
    if (mail.errorCode == smtp_error::kStartTlsRefused)
        text = ui_text::Message(QStringLiteral("服务器不提供 STARTTLS (STARTTLS not available)"));
    if (reply.isEmpty()) return text;
    if (!text.isEmpty()) text += QStringLiteral("\n");
    return text + ui_text::Message(QStringLiteral("服务器回复: ")) + reply;
}
