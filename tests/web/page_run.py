#!/usr/bin/env python3
"""tests/web/page_run.py - opens the browser build's page in headless Chromium and collects what
the page reports: its pictures (PNG files), its console lines and its events.

    page_run.py BUILD_WEB_DIR OUT_DIR QUERY [--timeout S] [--until EVENT]

Serves BUILD_WEB_DIR on 127.0.0.1 (a free port), loads index.html?QUERY&report, and stops
(browser and server) at the first event starting with EVENT (default: held, benchmarked,
clock, failed ... whichever ends the query's work), or after the timeout. Writes OUT_DIR/
tNNN.NNN.png per held picture, OUT_DIR/console.txt and OUT_DIR/events.txt. Exit status 0
when the page finished, 1 on a timeout or a failure the page reported."""
import base64, http.server, os, shutil, signal, subprocess, sys, tempfile, threading, time

def main():
    args = sys.argv[1:]
    timeout, until = 300.0, None
    if '--timeout' in args:
        i = args.index('--timeout'); timeout = float(args[i + 1]); del args[i:i + 2]
    if '--until' in args:
        i = args.index('--until'); until = args[i + 1]; del args[i:i + 2]
    root, out, query = args
    os.makedirs(out, exist_ok=True)
    events, lines, done = [], [], threading.Event()
    expected = query.count(',') + 1 if query.startswith('t=') else 0

    class Handler(http.server.SimpleHTTPRequestHandler):
        def __init__(self, *a, **k):
            super().__init__(*a, directory=root, **k)
        def log_message(self, *a):
            pass
        def do_POST(self):
            body = self.rfile.read(int(self.headers.get('Content-Length', 0))).decode('utf-8', 'replace')
            path = self.path
            if path.startswith('/picture'):
                t = float(path.split('t=')[1])
                data = body.split(',', 1)[1]
                with open(os.path.join(out, 't%07.3f.png' % t), 'wb') as f:
                    f.write(base64.b64decode(data))
            elif path == '/log':
                lines.append(body)
            elif path == '/event':
                events.append(body)
                name = body.split(' ')[0]
                held = sum(1 for e in events if e.startswith('held'))
                if name == 'failed' or (until and name == until) or \
                   (not until and (name in ('benchmarked', 'clock') or (name == 'held' and held >= expected))):
                    done.set()
            self.send_response(200)
            self.send_header('Content-Length', '0')
            self.end_headers()

    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
    port = server.server_address[1]
    threading.Thread(target=server.serve_forever, daemon=True).start()
    profile = tempfile.mkdtemp(prefix='orbplume-chromium-')
    browser = shutil.which('chromium') or 'chromium'
    command = [browser, '--headless', '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
               '--no-sandbox', '--disable-gpu-sandbox', '--autoplay-policy=no-user-gesture-required',
               '--no-first-run', '--user-data-dir=' + profile, '--remote-debugging-port=0',
               'http://127.0.0.1:%d/index.html?%s&report' % (port, query)]
    chrome = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    finished = done.wait(timeout)
    try:
        os.killpg(chrome.pid, signal.SIGTERM)
        chrome.wait(10)
    except Exception:
        os.killpg(chrome.pid, signal.SIGKILL)
    server.shutdown()
    shutil.rmtree(profile, ignore_errors=True)
    with open(os.path.join(out, 'console.txt'), 'w') as f:
        f.write('\n'.join(lines) + '\n')
    with open(os.path.join(out, 'events.txt'), 'w') as f:
        f.write('\n'.join(events) + '\n')
    failed = any(e.startswith('failed') for e in events)
    if not finished:
        print('page_run: timed out after %.0f s' % timeout, file=sys.stderr)
    return 0 if finished and not failed else 1

if __name__ == '__main__':
    sys.exit(main())
