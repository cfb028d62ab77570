#!/usr/bin/env python3
"""Serves the site (build/web/site) on this machine only, for playing and for
the browser tests: prints the address, then serves until Ctrl-C. The port is
PORT from the environment, 8000 by default; 0 takes any free one.
CACHE_CONTROL, when set, is sent in place of no-cache, as a host that lets
browsers keep files for a while does."""
import functools
import http.server
import os
import sys

SITE = sys.argv[1] if len(sys.argv) > 1 else 'build/web/site'
CACHE_CONTROL = os.environ.get('CACHE_CONTROL', 'no-cache')
HEADERS = []


def host_headers(site):
    """The headers that the site's _headers file (made by make-site.py) gives
    every path."""
    headers = []
    with open(os.path.join(site, '_headers'), encoding='utf-8') as f:
        for line in f:
            if line.startswith(' ') and ':' in line:
                name, _, value = line.strip().partition(':')
                headers.append((name, value.strip()))
    return headers


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.js': 'text/javascript',
                      '.webmanifest': 'application/manifest+json', '.gz': 'application/gzip'}

    def end_headers(self):
        for name, value in HEADERS:
            self.send_header(name, value)
        self.send_header('Cache-Control', CACHE_CONTROL)
        super().end_headers()

    def log_message(self, format, *args):
        pass


class Server(http.server.ThreadingHTTPServer):
    # A browser that closes a connection early (a page reloaded or closed
    # mid-fetch) is no error of the server's.
    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


def main():
    if not os.path.isfile(os.path.join(SITE, 'index.html')):
        sys.exit(f'serve: no site in {SITE}; make web builds it')
    if not os.path.isfile(os.path.join(SITE, '_headers')):
        sys.exit(f'serve: no _headers in {SITE}; make web makes it')
    global HEADERS
    HEADERS = host_headers(SITE)
    handler = functools.partial(Handler, directory=SITE)
    port = int(os.environ.get('PORT', '8000'))
    try:
        server = Server(('127.0.0.1', port), handler)
    except OSError as error:
        sys.exit(f'serve: cannot serve on port {port} ({error.strerror}); PORT=N picks another')
    print(f'Vrel 2 in a browser: http://127.0.0.1:{server.server_address[1]}/  (Ctrl-C stops)', flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


main()
