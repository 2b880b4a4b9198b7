#!/usr/bin/python3
# Test HTTP server for the internet tests: fixed routes, hostile ones included, and a small
# generated site. Binds 127.0.0.1 on a free port and prints "PORT n". Optional: --tls CERT KEY.
import socket
import ssl
import struct
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

SITE = {
    "/site/index.htm": '<html><head><title>Start</title></head><body>'
                       '<a href="a.htm">A</a> <a href="/site/b.htm">B</a> <a href="a.htm">again</a>'
                       '<a href="pic.gif">pic</a> <a href="missing.htm">gone</a>'
                       '<a href="mailto:x@y.example">mail</a> <a href="/dir">dir</a>'
                       ' mail me at someone@example.org</body></html>',
    "/site/a.htm": '<html><body><a href="c.htm">C</a> <a href="index.htm">up</a> contact: a@example.org'
                   '</body></html>',
    "/site/b.htm": '<html><body><a href="c.htm">C</a> <a href="http://HOST/site/d.htm">D</a></body></html>',
    "/site/c.htm": '<html><body>leaf c</body></html>',
    "/site/d.htm": '<html><body>leaf d</body></html>',
    "/dir/": '<html><body>folder</body></html>',
    "/page.css": 'body { background: url(x.png) } see http://css.example/x',
}

fail_counts = {}
flight = {"now": 0, "max": 0}
flight_lock = threading.Lock()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send_text(self, code, body, headers=()):
        data = body.encode("latin-1") if isinstance(body, str) else body
        self.send_response(code)
        for k, v in headers:
            self.send_header(k, v)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def redirect(self, code, location):
        self.send_text(code, "moved", [("Location", location)])

    def do_GET(self):
        path = self.path
        host = "127.0.0.1:%d" % self.server.server_address[1]
        if path in SITE:
            return self.send_text(200, SITE[path].replace("HOST", host))
        if path == "/agent":
            return self.send_text(200, self.headers.get("User-Agent", "") + "|" + self.headers.get("Accept", ""))
        if path.startswith("/status/"):
            code = int(path.split("/")[2])
            return self.send_text(code, "status %d" % code,
                                  [("WWW-Authenticate", 'Basic realm="r"')] if code == 401 else [])
        if path == "/nodigits":
            self.wfile.write(b"HTTP/1.1 abc Bad\r\nContent-Length: 0\r\n\r\n")
            return
        if path == "/dir":
            return self.redirect(301, "/dir/")
        if path == "/r/abs":
            return self.redirect(302, "http://%s/site/c.htm" % host)
        if path == "/r/rel":
            return self.redirect(302, "site/c.htm")
        if path == "/r/empty":
            return self.redirect(302, "")
        if path == "/r/long":
            return self.redirect(301, "/" + "a" * 600)
        if path == "/r/comment":
            return self.redirect(302, "/site/c.htm--><script>x</script>")
        if path == "/r/t307":
            return self.redirect(307, "/site/d.htm")
        if path == "/r/loopa":
            return self.redirect(302, "/r/loopb")
        if path == "/r/loopb":
            return self.redirect(302, "/r/loopa")
        if path.startswith("/g") and path[2:].strip("/") == "":
            return self.redirect(301, path + "/")
        if path == "/dirabs":
            return self.redirect(301, "http://%s/dirabs/" % host)
        if path == "/dirabs/":
            return self.send_text(200, "folder")
        # The server only drops the trailing slash; the slashless page answering 404 shows that
        # such a redirect is taken as it is, not followed.
        if path == "/slash/":
            return self.redirect(301, "/slash")
        if path == "/r/ftp":
            return self.redirect(302, "ftp://127.0.0.1:1/file.txt")
        if path == "/r/t308":
            return self.redirect(308, "/site/c.htm")
        if path.startswith("/flaky500/"):
            with flight_lock:
                n = fail_counts.get(path, 0)
                fail_counts[path] = n + 1
            return self.send_text(500 if n == 0 else 200, "try %d" % n)
        if path.startswith("/slow/"):
            with flight_lock:
                flight["now"] += 1
                flight["max"] = max(flight["max"], flight["now"])
            time.sleep(int(path.split("/")[2]) / 1000.0)
            with flight_lock:
                flight["now"] -= 1
            return self.send_text(200, "slow")
        if path == "/maxflight":
            with flight_lock:
                most = flight["max"]
                flight["max"] = 0
            return self.send_text(200, str(most))
        if path == "/huge":
            # Announces 4 GiB and sends until the client hangs up: a status test must not wait.
            self.send_response(200)
            self.send_header("Content-Length", str(4 << 30))
            self.end_headers()
            chunk = b"h" * 65536
            try:
                while True:
                    self.wfile.write(chunk)
            except OSError:
                return
        if path == "/r/seen":
            return self.redirect(302, "/site/a.htm")
        if path == "/stall":
            time.sleep(30)
            return
        if path == "/stallbody":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b"x" * 10)
            self.wfile.flush()
            time.sleep(30)
            return
        if path == "/short":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b"y" * 500)
            self.wfile.flush()
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
            return
        if path == "/endless":
            self.send_response(200)
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            chunk = b"z" * 8192
            try:
                while True:
                    self.wfile.write(b"%x\r\n%s\r\n" % (len(chunk), chunk))
            except OSError:
                return
        if path == "/trickle":
            self.send_response(200)
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            try:
                while True:
                    self.wfile.write(b"400\r\n%s\r\n" % (b"t" * 1024))
                    self.wfile.flush()
                    time.sleep(0.05)
            except OSError:
                return
        if path == "/bigheader":
            self.send_response(200)
            self.send_header("X-Big", "b" * (150 * 1024))
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if path == "/http09":
            self.wfile.write(b"raw body without a status line\n")
            self.close_connection = True
            return
        if path == "/flaky":
            n = fail_counts.get(path, 0)
            fail_counts[path] = n + 1
            if n == 0:
                time.sleep(30)
                return
            return self.send_text(200, "<html><body>second try works http://flaky.example/ok</body></html>")
        if path.startswith("/big/"):
            size = int(path.split("/")[2])
            body = ("<html><body>" + "<a href=\"x%d.htm\">x</a>" * 1).ljust(size, " ")
            return self.send_text(200, body)
        if path.startswith("/dl/"):
            return self.download_route(path[4:])
        return self.send_text(404, "not found")

    # Download routes: /dl/size/N[/name] a body of N known bytes; /dl/short 500 of 1000 announced
    # bytes; /dl/reset a reset after 3000 bytes; /dl/slow 8 KiB and then a stall; /dl/flaky/KEY
    # 503 first, then 2000 bytes; /dl/chunked a body without a length; /dl/hop/N N redirects;
    # /dl/toftp a redirect to ftp.
    def download_route(self, rest):
        parts = rest.split("/")
        kind = parts[0]
        if kind == "size":
            return self.send_bytes(int(parts[1]))
        if kind == "short":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(body_bytes(500))
            self.wfile.flush()
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
            return
        if kind == "reset":
            self.send_response(200)
            self.send_header("Content-Length", "100000")
            self.end_headers()
            self.wfile.write(body_bytes(3000))
            self.wfile.flush()
            time.sleep(0.2)
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.close_connection = True
            self.connection.close()
            return
        if kind == "slow":
            self.send_response(200)
            self.send_header("Content-Length", "1000000")
            self.end_headers()
            self.wfile.write(body_bytes(8192))
            self.wfile.flush()
            try:
                for _ in range(600):
                    time.sleep(0.05)
                    self.wfile.write(b"s")
                    self.wfile.flush()
            except OSError:
                pass
            return
        if kind == "flaky":
            n = fail_counts.get(rest, 0)
            fail_counts[rest] = n + 1
            if n == 0:
                return self.send_text(503, "busy")
            return self.send_bytes(2000)
        if kind == "chunked":
            self.send_response(200)
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            data = body_bytes(5000)
            self.wfile.write(b"%x\r\n%s\r\n0\r\n\r\n" % (len(data), data))
            return
        if kind == "hop":
            n = int(parts[1])
            if n == 0:
                return self.send_bytes(1500)
            return self.redirect(302, "/dl/hop/%d" % (n - 1))
        if kind == "toftp":
            return self.redirect(302, "ftp://127.0.0.1:9/nothing.bin")
        return self.send_text(404, "not found")

    def send_bytes(self, size):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(size))
        self.end_headers()
        self.wfile.write(body_bytes(size))


def body_bytes(size):
    # The same bytes for the same size, so that a test can compare a file with what was sent.
    block = bytes(i % 251 for i in range(251))
    return (block * (size // 251 + 1))[:size]


class QuietServer(ThreadingHTTPServer):
    # Clients that hang up on purpose (cancel, skip, caps) are no error worth printing.
    def handle_error(self, request, client_address):
        pass


def main():
    server = QuietServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    if len(sys.argv) >= 4 and sys.argv[1] == "--tls":
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(sys.argv[2], sys.argv[3])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


main()
