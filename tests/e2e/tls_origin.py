#!/usr/bin/env python3
"""A local https test page for the account self-check under Wine.

    tls_origin.py FOLDER

Makes a throw-away certificate authority and a certificate for "localhost"
signed by it (FOLDER/ca.pem is what the driver adds to the Wine prefix's
trusted roots), then serves every GET on 127.0.0.1 at a port the system
picks with a small page (other methods get 501). The port
is written to FOLDER/port once the server listens. Runs until killed.
"""
import http.server
import os
import ssl
import subprocess
import sys

PAGE = b"<html><body>Corvane test page</body></html>\n"


def make_certificates(folder):
    def openssl(*args):
        subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    ca_key, ca = os.path.join(folder, "ca.key"), os.path.join(folder, "ca.pem")
    key, csr, cert = (os.path.join(folder, n) for n in ("localhost.key", "localhost.csr", "localhost.pem"))
    extensions = os.path.join(folder, "localhost.ext")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Corvane test authority",
            "-keyout", ca_key, "-out", ca)
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=localhost", "-keyout", key, "-out", csr)
    with open(extensions, "w") as f:
        f.write("subjectAltName=DNS:localhost\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n")
    openssl("x509", "-req", "-in", csr, "-CA", ca, "-CAkey", ca_key, "-CAcreateserial", "-days", "2",
            "-extfile", extensions, "-out", cert)
    return cert, key


class Page(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        if self.path == "/endless":
            return self.send_endless()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(PAGE)))
        self.end_headers()
        self.wfile.write(PAGE)

    # A body with no length that never ends: the client decides when it has
    # had enough and closes the connection.
    def send_endless(self):
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        piece = b"x" * 65536
        try:
            while True:
                self.wfile.write(piece)
        except OSError:
            pass

    def log_message(self, *args):
        pass


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    cert, key = make_certificates(folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Page)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    with open(os.path.join(folder, "port.new"), "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(os.path.join(folder, "port.new"), os.path.join(folder, "port"))
    server.serve_forever()


if __name__ == "__main__":
    main()
