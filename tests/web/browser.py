"""Headless Chromium driven over the DevTools protocol, and the web build served on 127.0.0.1.

The browser tests start one Chromium per case (a fresh profile each: nothing kept between cases
but what a case keeps itself), open the page, send input as a person would (Input domain), read
the canvas and the console. Debian's chromium and python3-websocket are all they need.
"""

import base64
import functools
import http.server
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time
import urllib.request

import websocket

CHROMIUM_FLAGS = [
    "--headless=new",
    # WebGL 2 on the processor: SwiftShader through ANGLE.
    "--enable-unsafe-swiftshader",
    "--use-angle=swiftshader",
    "--no-sandbox",
    "--no-first-run",
    "--no-default-browser-check",
    "--disable-extensions",
    "--hide-scrollbars",
    "--mute-audio",
]


class Failure(Exception):
    pass


def wait_until(seconds, condition, interval=0.1):
    """Calls condition until it returns something true, at most `seconds`; returns its last value."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}

    def log_message(self, *args):
        pass

    def end_headers(self):
        # Every load is a cold one: the tests compare fresh starts.
        self.send_header("Cache-Control", "no-store")
        super().end_headers()


class Server:
    """A static server of `directory` on 127.0.0.1, on a port of its own."""

    def __init__(self, directory):
        handler = functools.partial(_QuietHandler, directory=str(directory))
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class Browser:
    """One headless Chromium with one page, `width` x `height` CSS pixels at scale 1."""

    def __init__(self, width=1024, height=768, extra_flags=(), profile=None):
        self.profile = profile or tempfile.mkdtemp(prefix="quorvane-chromium-")
        self.own_profile = profile is None
        self.width, self.height = width, height
        self.console = []  # (level, text) of console calls, exceptions and log entries
        self._events = []
        self._next_id = 0
        command = [shutil.which("chromium") or "chromium", *CHROMIUM_FLAGS, *extra_flags,
                   "--user-data-dir=" + self.profile, "--remote-debugging-port=0",
                   "--window-size=%d,%d" % (width, height), "about:blank"]
        self.process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        try:
            self._connect()
        except Exception:
            self.close()
            raise

    def _connect(self):
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        if not wait_until(30, lambda: os.path.exists(port_file) and open(port_file).read().count("\n") >= 1):
            raise Failure("chromium did not start: %s" % self.process.stderr.read1(4000).decode(errors="replace"))
        port = open(port_file).read().split("\n")[0]
        targets = json.load(urllib.request.urlopen("http://127.0.0.1:%s/json/list" % port, timeout=10))
        page = next(t for t in targets if t["type"] == "page")
        self.socket = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=60, suppress_origin=True)
        for domain in ("Page", "Runtime", "Log"):
            self.call(domain + ".enable")
        # The screen of the window's size (headless Chromium's own is 800 x 600, smaller than the
        # window): its full screen keeps the window's size, which is then the screen's, as the
        # viewer's full screen at the screen's size assumes.
        self.call("Emulation.setDeviceMetricsOverride", width=self.width, height=self.height, deviceScaleFactor=1,
                  mobile=False, screenWidth=self.width, screenHeight=self.height)

    def close(self):
        if getattr(self, "socket", None):
            self.socket.close()
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        if self.own_profile:
            shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # The protocol: one command at a time; events that arrive meanwhile are kept.
    def call(self, method, **params):
        self._next_id += 1
        self.socket.send(json.dumps({"id": self._next_id, "method": method, "params": params}))
        while True:
            message = self._receive()
            if message.get("id") == self._next_id:
                if "error" in message:
                    raise Failure("%s: %s" % (method, message["error"]))
                return message["result"]

    def _receive(self):
        message = json.loads(self.socket.recv())
        if "method" in message:
            self._note(message["method"], message["params"])
        return message

    def _note(self, method, params):
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
            self.console.append((params["type"], text))
        elif method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            self.console.append(("exception", details.get("exception", {}).get("description", details["text"])))
        elif method == "Log.entryAdded":
            self.console.append((params["entry"]["level"], params["entry"]["text"]))
        self._events.append((method, params))

    def pump(self, seconds=0.05):
        """Reads the events that arrived, waiting at most `seconds` for the first."""
        self.socket.settimeout(seconds)
        try:
            while True:
                self._receive()
                self.socket.settimeout(0.001)
        except (websocket.WebSocketTimeoutException, TimeoutError):
            pass
        finally:
            self.socket.settimeout(60)

    def errors(self):
        self.pump()
        return [text for level, text in self.console if level in ("error", "exception")]

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise Failure("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def navigate(self, url):
        self.call("Page.navigate", url=url)

    def state(self):
        """The page's own account of the viewer: loading, running, ended or failed."""
        return self.evaluate("window.quorvane ? window.quorvane.state : 'loading'")

    def wait_for_state(self, wanted, seconds=60):
        state = wait_until(seconds, lambda: self.state() in wanted and self.state())
        if not state:
            raise Failure("the page is %r after %d s, not %s" % (self.state(), seconds, "/".join(wanted)))
        return state

    def page_text(self):
        return self.evaluate("document.body ? document.body.innerText : ''")

    # Input, in CSS pixels of the page.
    def mouse(self, kind, x, y, button="none", buttons=0, modifiers=0, click_count=0):
        self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button, buttons=buttons,
                  modifiers=modifiers, clickCount=click_count)

    def drag(self, button, start, end, modifiers=0):
        mask = {"left": 1, "right": 2}[button]
        self.mouse("mouseMoved", *start, modifiers=modifiers)
        self.mouse("mousePressed", *start, button=button, buttons=mask, modifiers=modifiers, click_count=1)
        self.mouse("mouseMoved", *end, button=button, buttons=mask, modifiers=modifiers)
        self.mouse("mouseReleased", *end, button=button, buttons=0, modifiers=modifiers, click_count=1)

    def wheel(self, x, y, notches):
        for _ in range(abs(notches)):
            self.call("Input.dispatchMouseEvent", type="mouseWheel", x=x, y=y, deltaX=0,
                      deltaY=-100 if notches > 0 else 100)

    # name: (key, code, Windows virtual-key code)
    KEYS = {**{"F%d" % n: ("F%d" % n, "F%d" % n, 111 + n) for n in range(1, 13)},
            "Escape": ("Escape", "Escape", 27), "Enter": ("Enter", "Enter", 13), "Alt": ("Alt", "AltLeft", 18),
            "Control": ("Control", "ControlLeft", 17), "/": ("/", "Slash", 191), "Delete": ("Delete", "Delete", 46),
            **{c: (c, "Key" + c.upper(), ord(c.upper())) for c in "abcdefghijklmnopqrstuvwxyz"}}
    ALT, CONTROL = 1, 2

    def key(self, name, modifiers=0):
        key, code, vk = self.KEYS[name]
        common = dict(key=key, code=code, windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk, modifiers=modifiers)
        if len(key) == 1 and not modifiers & self.CONTROL:
            # A character key also types its character, as a keyboard does.
            self.call("Input.dispatchKeyEvent", type="keyDown", text=key, unmodifiedText=key, **common)
        else:
            self.call("Input.dispatchKeyEvent", type="rawKeyDown", **common)
        self.call("Input.dispatchKeyEvent", type="keyUp", **common)

    def chord(self, modifier, name):
        """A key with Alt or Control held, pressed and released as a person does."""
        held = {self.ALT: "Alt", self.CONTROL: "Control"}[modifier]
        key, code, vk = self.KEYS[held]
        self.call("Input.dispatchKeyEvent", type="rawKeyDown", key=key, code=code, windowsVirtualKeyCode=vk,
                  modifiers=modifier)
        self.key(name, modifier)
        self.call("Input.dispatchKeyEvent", type="keyUp", key=key, code=code, windowsVirtualKeyCode=vk)

    # What the page shows.
    def screenshot(self, path, clip=None):
        """The page as shown (or the clip {x, y, width, height} of it), written to a PNG."""
        params = {"format": "png"}
        if clip:
            params["clip"] = {**clip, "scale": 1}
        data = self.call("Page.captureScreenshot", **params)["data"]
        with open(path, "wb") as out:
            out.write(base64.b64decode(data))
