#!/usr/bin/python3
"""Scripted FTP server for the engine tests: pyftpdlib with the behaviours a real daemon will not
show on request. A logged-on client switches them with "SITE MODE <name>":

  greet-multi, greet-prelim, greet-421   the greeting of the next connection
  host-<kind>                            SYST and HELP replies of a server kind, LIST sends its
                                         fixture listing (kinds in HOSTS)
  mkd500, cwd-vms, vms-pwd, eof-reply,   odd replies on this connection
  long-reply, early-close, silent,
  type-refuse, dies-in-retr

A client that logs on as "host-<kind>" (password as USER's) gets that host kind from the start,
for clients that cannot send SITE commands.

Usage: scripted_server.py PORT_FILE ROOT LISTINGS_DIR
Writes the port it listens on (127.0.0.1) to PORT_FILE and serves until it is killed.
"""
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, proto_cmds
from pyftpdlib.servers import FTPServer

USER, PASSWORD = "tolvi", "secret"

# kind: (SYST reply, HELP reply lines, listing fixture)
HOSTS = {
    "unix": ("215 UNIX Type: L8",
             ["214-The following commands are recognized.", " USER PASS SYST LIST RETR STOR", "214 Help OK."],
             "unix"),
    "vmsmultinet": ("215 VMS MultiNet V4.3(16)",
                    ["214-Commands:", "   USER PASS SYST CWD LIST", "214 Direct comments to the system manager"],
                    "vms"),
    "vmsucx": ("215 VMS OpenVMS V7.3",
               ["214-Commands:", "   USER PASS SYST CWD LIST", "214 End of help"], "vms"),
    "mvs": ("215 MVS is the operating system of this server. FTP Server is running on z/OS.",
            ["214-The following commands are recognized:", " USER PASS SYST", "214 HELP command successful."],
            "mvs"),
    "windowsnt": ("215 Windows_NT", ["214-The following commands are recognized:", " SYST LIST", "214 HELP OK."],
                  "windowsnt"),
    "os2": ("215 OS/2 operating system", ["214-Commands:", " SYST LIST", "214 ok"], "sixthfield"),
    "mpeix": ("215 MPE/iX: HP 3000", ["214-Commands:", " SYST LIST", "214 ok"], "longlines"),
    "chameleon": ("215 CHAMELEON", ["214-Commands:", " SYST LIST", "214 ok"], "firstword"),
    "ncsa": ("500 SYST not understood", ["214-NCSA Telnet FTP server, commands:", " LIST RETR", "214 done"],
             "firstword"),
    "qvt": ("500 SYST not understood", ["214-PC FTP server help", " LIST RETR", "214 done"], "qvt"),
    "ka9q": ("500 SYST not understood", ["500 Unknown command HELP"], "ka9q"),
    "nosyst": ("215 UNIX Type: L8", ["214-Commands:", " LIST RETR", "214 done"], "unix"),
}

NEXT_GREETING = {"mode": None}


class Handler(FTPHandler):
    listings = "."
    mode = "normal"

    def handle(self):
        greeting, NEXT_GREETING["mode"] = NEXT_GREETING["mode"], None
        if greeting == "greet-multi":
            self.on_connect()
            self.push("220-Welcome to the scripted server\r\nThis line has no code\r\n"
                      "  nor has this one\r\n220 Ready\r\n")
        elif greeting == "greet-prelim":
            self.on_connect()
            self.push("120 Service ready in a moment\r\n120-Still starting\r\n120 Nearly there\r\n220 Ready\r\n")
        elif greeting == "greet-421":
            self.on_connect()
            self.push("421 Too busy, try later\r\n")
            self.close_when_done()
        else:
            FTPHandler.handle(self)

    def on_login(self, username):
        if username.startswith("host-"):
            self.mode = username

    def host(self):
        return HOSTS.get(self.mode[5:]) if self.mode.startswith("host-") else None

    def pre_process_command(self, line, cmd, arg):
        if self.mode == "silent" and not line.upper().startswith("SITE"):
            return
        FTPHandler.pre_process_command(self, line, cmd, arg)

    def respond(self, resp, *args, **kwargs):
        if self.mode == "dies-in-retr" and resp.startswith("226"):
            # Part of the file went out, then the server is gone: no reply, the connection closes.
            self.close()
            return
        if self.mode == "early-close" and resp[:4] in ("125 ", "150 "):
            resp = "150 Opening BINARY mode data connection for data.bin (2000 bytes)"
        FTPHandler.respond(self, resp, *args, **kwargs)

    def ftp_SITE_MODE(self, line):
        mode = line.strip()
        if mode.startswith("greet-"):
            NEXT_GREETING["mode"] = mode
        else:
            self.mode = mode
        self.respond("200 Mode %s" % mode)

    def ftp_SYST(self, line):
        host = self.host()
        if host:
            self.respond(host[0])
        else:
            FTPHandler.ftp_SYST(self, line)

    def ftp_HELP(self, line):
        host = self.host()
        if host:
            self.push("".join(l + "\r\n" for l in host[1]))
        else:
            FTPHandler.ftp_HELP(self, line)

    def ftp_LIST(self, path):
        host = self.host()
        if host:
            with open(os.path.join(self.listings, host[2] + ".lst"), "rb") as f:
                self.push_dtp_data(f.read(), isproducer=False, cmd="LIST")
            return path
        return FTPHandler.ftp_LIST(self, path)

    def ftp_MKD(self, path):
        if self.mode == "mkd500":
            self.respond("500 'MKD': command not understood.")
            return
        return FTPHandler.ftp_MKD(self, path)

    def ftp_XMKD(self, path):
        return FTPHandler.ftp_MKD(self, path)

    def ftp_CWD(self, path):
        if self.mode == "cwd-vms":
            arg = os.path.basename(path)
            if arg == "[-]":
                return FTPHandler.ftp_CWD(self, self.fs.realpath(os.path.join(self.fs.cwd, "..")))
            if arg.startswith("[.") and arg.endswith("]"):
                return FTPHandler.ftp_CWD(self, self.fs.ftp2fs(arg[2:-1]))
            self.respond("550 %%RMS-E-DNF, directory not found")
            return
        return FTPHandler.ftp_CWD(self, path)

    def ftp_PWD(self, line):
        if self.mode == "eof-reply":
            self.push("257-The current directory is\r\n")
            self.close_when_done()
            return
        if self.mode == "long-reply":
            self.respond('257 "/' + "x" * 4500 + '" is the current directory')
            return
        if self.mode == "vms-pwd":
            self.respond("257 USER1:[JOE.WORK] is current directory.")
            return
        return FTPHandler.ftp_PWD(self, line)

    def ftp_TYPE(self, line):
        if self.mode == "type-refuse":
            self.respond("504 Type not supported")
            return
        return FTPHandler.ftp_TYPE(self, line)

    def ftp_RETR(self, file):
        if self.mode in ("early-close", "dies-in-retr"):
            self.push_dtp_data(b"x" * 1000, isproducer=False, cmd="RETR")
            return file
        return FTPHandler.ftp_RETR(self, file)


Handler.proto_cmds = dict(proto_cmds)
Handler.proto_cmds["SITE MODE"] = dict(perm=None, auth=True, arg=True, help="Syntax: SITE MODE <SP> name")


def main():
    port_file, root, listings = sys.argv[1:4]
    authorizer = DummyAuthorizer()
    authorizer.add_user(USER, PASSWORD, root, perm="elradfmwMT")
    for kind in HOSTS:
        authorizer.add_user("host-" + kind, PASSWORD, root, perm="elr")
    Handler.authorizer = authorizer
    Handler.listings = listings
    Handler.permit_privileged_ports = True
    server = FTPServer(("127.0.0.1", 0), Handler)
    with open(port_file + ".tmp", "w") as f:
        f.write("%d\n" % server.address[1])
    os.rename(port_file + ".tmp", port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
