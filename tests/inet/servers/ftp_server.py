#!/usr/bin/python3
# Test FTP server: ROOT holds the files; anonymous reads "pub". With "private" as second argument
# there is no anonymous login and user "fred", with a password full of URL delimiters, reads
# "private". Binds 127.0.0.1 on a free port and prints "PORT n".
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

PASSWORD = "p@ss/w:rd"


def main():
    root = sys.argv[1]
    logging.disable(logging.CRITICAL)
    authorizer = DummyAuthorizer()
    if len(sys.argv) > 2 and sys.argv[2] == "private":
        authorizer.add_user("fred", PASSWORD, root + "/private", perm="elr")
    else:
        authorizer.add_anonymous(root + "/pub")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.passive_ports = None
    # Refused logins answer at once: the tests wait for them.
    handler.auth_failed_timeout = 0.01
    server = FTPServer(("127.0.0.1", 0), handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever()


main()
