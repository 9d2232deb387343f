#!/usr/bin/env python3
"""Real X input for tests that run under Wine.

A Windows test program cannot start xdotool itself, so this relay does it:
it listens on a loopback port, takes one line of xdotool arguments per
connection, runs xdotool with them on this session's display, and answers
"<exit status> <xdotool's output>". Nothing but xdotool is ever run.

Usage: input_relay.py PORT_FILE   (writes the port it listens on to PORT_FILE)
"""

import os
import shlex
import socket
import subprocess
import sys


def serve(port_file):
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(16)
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.getsockname()[1]))
    os.replace(port_file + ".tmp", port_file)
    while True:
        conn, _ = server.accept()
        with conn:
            conn.settimeout(30)
            data = b""
            try:
                while not data.endswith(b"\n") and len(data) < 4096:
                    chunk = conn.recv(4096)
                    if not chunk:
                        break
                    data += chunk
                args = shlex.split(data.decode("utf-8", "replace"))
                done = subprocess.run(["xdotool"] + args, capture_output=True, text=True, timeout=20)
                answer = f"{done.returncode} {done.stdout.strip()}\n"
            except (OSError, ValueError, subprocess.SubprocessError) as e:
                answer = f"255 {e}\n"
            try:
                conn.sendall(answer.encode())
            except OSError:
                pass


if __name__ == "__main__":
    serve(sys.argv[1])
