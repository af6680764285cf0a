"""A real SMTP server on loopback for the mail client's tests.

Takes AUTH LOGIN without TLS for one user name and password, accepts every mail, and writes what
it received into a folder before answering: envelope.txt (the MAIL FROM and RCPT TO addresses),
logins.txt (one line per login attempt) and message.eml (the message bytes after DATA, with the
dot transparency undone); messages.eml collects every message, each followed by a line "----".
Runs until it is terminated.

Usage: /usr/bin/python3 smtp_peer.py PORT OUT_DIR USER PASSWORD
"""
import logging
import os
import signal
import sys

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


def text(value):
    return value.decode("latin-1") if isinstance(value, bytes) else str(value)


class Recorder:
    def __init__(self, out_dir):
        self.out_dir = out_dir

    def path(self, name):
        return os.path.join(self.out_dir, name)

    async def handle_DATA(self, server, session, envelope):
        with open(self.path("envelope.txt"), "w", encoding="latin-1") as out:
            out.write("MAIL FROM:<%s>\n" % text(envelope.mail_from))
            for rcpt in envelope.rcpt_tos:
                out.write("RCPT TO:<%s>\n" % text(rcpt))
        with open(self.path("message.eml"), "wb") as out:
            out.write(envelope.original_content)
        with open(self.path("messages.eml"), "ab") as out:
            out.write(envelope.original_content + b"----\r\n")
        return "250 OK stored"


def main():
    port, out_dir, user, password = sys.argv[1:5]
    recorder = Recorder(out_dir)

    def authenticate(server, session, envelope, mechanism, auth_data):
        with open(recorder.path("logins.txt"), "a", encoding="latin-1") as out:
            out.write("%s %s %s\n" % (mechanism, text(auth_data.login), text(auth_data.password)))
        accepted = (isinstance(auth_data, LoginPassword)
                    and auth_data.login == user.encode() and auth_data.password == password.encode())
        return AuthResult(success=accepted, handled=False)

    logging.getLogger("mail.log").setLevel(logging.ERROR)
    controller = Controller(recorder, hostname="127.0.0.1", port=int(port),
                            server_hostname="peer.test", authenticator=authenticate,
                            auth_require_tls=False)
    controller.start()
    signal.pause()


if __name__ == "__main__":
    main()
