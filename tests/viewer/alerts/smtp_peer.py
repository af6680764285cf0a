"""A real SMTP server on loopback for the mail client's tests.

Takes a login (AUTH LOGIN or PLAIN) for one user name and password, accepts every mail, and
writes what it received into a folder before answering: envelope.txt (the MAIL FROM and RCPT TO
addresses), logins.txt (one line per login attempt) and message.eml (the message bytes after
DATA, with the dot transparency undone); messages.eml collects every message, each followed by a
line "----". Runs until it is terminated.

Without --tls it speaks plain SMTP and takes the login without TLS. With --tls it makes a test
certificate authority of its own (ca.pem in the folder, written before it listens, for the client
to trust) and a server certificate issued by it, and either offers STARTTLS (and the login only
after it) or speaks TLS from the first byte. --cert chooses the server certificate: "good" (for
127.0.0.1 and localhost), "wrong-host" (for another host only) or "expired" (validity ended in
2001). --without-login leaves AUTH LOGIN out of the offered mechanisms (PLAIN stays).

Usage: /usr/bin/python3 smtp_peer.py PORT OUT_DIR USER PASSWORD
           [--tls starttls|implicit] [--cert good|wrong-host|expired] [--without-login]
"""
import argparse
import datetime
import ipaddress
import logging
import os
import signal
import ssl

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


def make_certificates(out_dir, kind):
    """Writes ca.pem, server.pem and server.key; returns the paths of the last two."""
    from cryptography import x509
    from cryptography.hazmat.primitives import hashes, serialization
    from cryptography.hazmat.primitives.asymmetric import ec
    from cryptography.x509.oid import NameOID

    def name(common):
        return x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, common)])

    # Fixed dates, so that no run depends on today's: valid for a century, or ended long ago.
    start = datetime.datetime(2000, 1, 1)
    end = datetime.datetime(2001, 1, 1) if kind == "expired" else datetime.datetime(2099, 1, 1)

    ca_key = ec.generate_private_key(ec.SECP256R1())
    ca = (x509.CertificateBuilder().subject_name(name("Quadrel test CA"))
          .issuer_name(name("Quadrel test CA")).public_key(ca_key.public_key())
          .serial_number(x509.random_serial_number())
          .not_valid_before(start).not_valid_after(datetime.datetime(2099, 1, 1))
          .add_extension(x509.BasicConstraints(ca=True, path_length=None), critical=True)
          .add_extension(x509.KeyUsage(digital_signature=True, key_cert_sign=True, crl_sign=True,
                                       content_commitment=False, key_encipherment=False,
                                       data_encipherment=False, key_agreement=False,
                                       encipher_only=False, decipher_only=False), critical=True)
          .sign(ca_key, hashes.SHA256()))

    if kind == "wrong-host":
        names = [x509.DNSName("mail.other.test"), x509.IPAddress(ipaddress.ip_address("10.9.9.9"))]
        common = "mail.other.test"
    else:
        names = [x509.DNSName("localhost"), x509.IPAddress(ipaddress.ip_address("127.0.0.1"))]
        common = "localhost"
    key = ec.generate_private_key(ec.SECP256R1())
    cert = (x509.CertificateBuilder().subject_name(name(common)).issuer_name(ca.subject)
            .public_key(key.public_key()).serial_number(x509.random_serial_number())
            .not_valid_before(start).not_valid_after(end)
            .add_extension(x509.SubjectAlternativeName(names), critical=False)
            .add_extension(x509.BasicConstraints(ca=False, path_length=None), critical=True)
            .add_extension(x509.ExtendedKeyUsage([x509.oid.ExtendedKeyUsageOID.SERVER_AUTH]),
                           critical=False)
            .sign(ca_key, hashes.SHA256()))

    cert_path = os.path.join(out_dir, "server.pem")
    key_path = os.path.join(out_dir, "server.key")
    with open(cert_path, "wb") as out:
        out.write(cert.public_bytes(serialization.Encoding.PEM))
    with open(key_path, "wb") as out:
        out.write(key.private_bytes(serialization.Encoding.PEM,
                                    serialization.PrivateFormat.PKCS8,
                                    serialization.NoEncryption()))
    # Written last and renamed into place: once ca.pem exists, all is ready.
    with open(os.path.join(out_dir, "ca.pem.new"), "wb") as out:
        out.write(ca.public_bytes(serialization.Encoding.PEM))
    os.rename(os.path.join(out_dir, "ca.pem.new"), os.path.join(out_dir, "ca.pem"))
    return cert_path, key_path


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("port", type=int)
    parser.add_argument("out_dir")
    parser.add_argument("user")
    parser.add_argument("password")
    parser.add_argument("--tls", choices=["starttls", "implicit"])
    parser.add_argument("--cert", choices=["good", "wrong-host", "expired"], default="good")
    parser.add_argument("--without-login", action="store_true")
    args = parser.parse_args()
    recorder = Recorder(args.out_dir)

    def authenticate(server, session, envelope, mechanism, auth_data):
        with open(recorder.path("logins.txt"), "a", encoding="latin-1") as out:
            out.write("%s %s %s\n" % (mechanism, text(auth_data.login), text(auth_data.password)))
        accepted = (isinstance(auth_data, LoginPassword)
                    and auth_data.login == args.user.encode()
                    and auth_data.password == args.password.encode())
        return AuthResult(success=accepted, handled=False)

    options = dict(server_hostname="peer.test", authenticator=authenticate,
                   auth_require_tls=False)
    if args.without_login:
        options["auth_exclude_mechanism"] = ["LOGIN"]
    if args.tls:
        cert_path, key_path = make_certificates(args.out_dir, args.cert)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert_path, key_path)
        if args.tls == "starttls":
            # The login is offered only once the connection is encrypted.
            options.update(tls_context=context, require_starttls=True, auth_require_tls=True)
        else:
            options["ssl_context"] = context

    logging.getLogger("mail.log").setLevel(logging.CRITICAL)
    logging.getLogger("asyncio").setLevel(logging.CRITICAL)
    controller = Controller(recorder, hostname="127.0.0.1", port=args.port, **options)
    controller.start()
    signal.pause()


if __name__ == "__main__":
    main()
