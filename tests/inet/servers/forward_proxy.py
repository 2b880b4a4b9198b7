#!/usr/bin/python3
# A small forward proxy for the tests: appends each absolute-form request line to LOG, fetches
# the URL and hands the answer back. Binds 127.0.0.1 on a free port and prints "PORT n".
import http.client
import sys
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

LOG = sys.argv[1]


class Proxy(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        with open(LOG, "a") as log:
            log.write(self.requestline + "\n")
        target = urllib.parse.urlsplit(self.path)
        upstream = http.client.HTTPConnection(target.hostname, target.port or 80, timeout=10)
        upstream.request("GET", target.path or "/", headers={"User-Agent": self.headers.get("User-Agent", "")})
        answer = upstream.getresponse()
        body = answer.read()
        self.send_response(answer.status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


server = ThreadingHTTPServer(("127.0.0.1", 0), Proxy)
server.daemon_threads = True
print("PORT %d" % server.server_address[1], flush=True)
server.serve_forever()
