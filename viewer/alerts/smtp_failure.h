// Why a mail did not go out, in words a user can act on: the server's last reply line when it
// refused something, otherwise what went wrong with the connection (time-out, refused, no route)
// or with TLS (the certificate that did not verify, the failed handshake).
#pragma once

#include <QString>

class CSmtp;

// `mail` has run Deliver and failed. Empty when there is nothing more to say than the failure.
QString DescribeSmtpFailure(const CSmtp& mail);
