"""End-to-end harness: the real mandeljulia in its own Xvfb, driven with xdotool.

Python 3 standard library only; needs Xvfb, xdotool, xwininfo, xprop, ImageMagick's
`import` (and openbox for wm=True). Typical test:

    import harness
    with harness.Session() as s:              # Xvfb + program; s.wait_ready() done
        print(s.stdout_text())                 # what the program printed so far
        g = s.geometry()                       # {'main','mandel','julia','help'} -> Geometry
        shot = s.screenshot()                  # Image of the whole screen (root window)
        view = s.view_image('mandel')          # the view's pixels cropped from a screenshot
        want = harness.render_view('mandel', 500, 500, -525, 0, 1, -0.188, 0.666, 128, 0)
        s.wait_for_view('mandel', want, harness.overlay_mask('mandel', 500, 500))
        s.wait_for(lambda: s.geometry()['help'].x == 315)   # poll any condition
        s.key('plus', over='julia')            # pointer over the Julia view, then the key
        s.wheel('up', over='mandel', x=250, y=250)
        s.drag('mandel', (100, 100), (150, 120), button=1)
        s.resize(831, 620)                     # xdotool windowsize; waits for the new layout
        s.key('Escape'); code = s.wait_exit()  # exit status

Session(program=None, cwd=None, wm=False, args=(), ready=True, user=None, setup=None):
program defaults to $MANDELJULIA (CTest sets it), cwd to a fresh temporary directory
(removed afterwards, s.cwd). wm=True runs openbox first (for full screen). user runs the
program as that user (its own group, no others; Xvfb runs without authorization, so the
display is open to it; the program file must be readable by it). setup is called in the
program's process just before exec, after the user change (a resource limit, a signal
disposition). Everything started is stopped by
process id on exit, also on failure; children also die with this process.
Window-relative coordinates everywhere count from the window's top-left, y downward.
X wheel buttons 4 (up) and 5 (down) reach the program as GLUT buttons 3 and 4.
"""

import ctypes
import os
import pwd
import re
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time
from dataclasses import dataclass

SCREEN_WIDTH = 1280
SCREEN_HEIGHT = 1024
TITLE_PREFIX = 'Mandelbrot & Julia sets - '
WINDOW_NAMES = ('main', 'mandel', 'julia', 'help')

# Generous: the machine is shared and has two cores.
DEFAULT_TIMEOUT = 30.0
POLL_INTERVAL = 0.05
COMMAND_TIMEOUT = 20.0


class HarnessError(AssertionError):
    """A wait timed out or a tool failed; a test failure, not an error of the test."""


# ---------------------------------------------------------------- images

@dataclass
class Image:
    """RGB pixels, 3 bytes a pixel, top row first."""
    width: int
    height: int
    pixels: bytes

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])


def parse_ppm(data):
    """Parses a binary PPM (P6, maxval 255 or 65535; 16-bit samples keep their high byte)."""
    if data[:2] != b'P6':
        raise HarnessError('not a P6 PPM: %r' % data[:16])
    fields = []
    pos = 2
    while len(fields) < 3:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b'#':
            pos = data.index(b'\n', pos) + 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(int(data[start:pos]))
    pos += 1  # the one whitespace byte before the samples
    width, height, maxval = fields
    body = data[pos:]
    if maxval > 255:
        body = body[0:width * height * 6:2]
    if len(body) < width * height * 3:
        raise HarnessError('short PPM: %d bytes for %dx%d' % (len(body), width, height))
    return Image(width, height, bytes(body[:width * height * 3]))


def read_ppm(path):
    with open(path, 'rb') as f:
        return parse_ppm(f.read())


def crop(image, x, y, width, height):
    """The part of image at (x, y) of width x height; parts off the image are clipped."""
    x0, y0 = max(x, 0), max(y, 0)
    x1, y1 = min(x + width, image.width), min(y + height, image.height)
    if x1 <= x0 or y1 <= y0:
        return Image(0, 0, b'')
    rows = []
    for row in range(y0, y1):
        start = (row * image.width + x0) * 3
        rows.append(image.pixels[start:start + (x1 - x0) * 3])
    return Image(x1 - x0, y1 - y0, b''.join(rows))


def region_colours(image, x=0, y=0, width=None, height=None):
    """The set of distinct colours in a rectangle of the image."""
    part = crop(image, x, y, image.width if width is None else width,
                image.height if height is None else height)
    p = part.pixels
    return {p[i:i + 3] for i in range(0, len(p), 3)}


def compare(actual, expected, exclude=(), limit=5):
    """Pixel differences outside the excluded rectangles (x, y, w, h; y downward).

    Returns [] when equal, else a list of strings: a size mismatch, or the count of
    differing pixels and the first `limit` of them."""
    if (actual.width, actual.height) != (expected.width, expected.height):
        return ['size %dx%d, expected %dx%d' % (actual.width, actual.height,
                                                expected.width, expected.height)]
    w = actual.width
    excluded_rows = []
    for row in range(actual.height):
        spans = [(x, x + rw) for (x, y, rw, rh) in exclude if y <= row < y + rh]
        excluded_rows.append(spans)
    a, e = actual.pixels, expected.pixels
    bad = []
    count = 0
    for row in range(actual.height):
        start = row * w * 3
        if a[start:start + w * 3] == e[start:start + w * 3]:
            continue
        spans = excluded_rows[row]
        for col in range(w):
            i = start + col * 3
            if a[i:i + 3] == e[i:i + 3]:
                continue
            if any(x0 <= col < x1 for x0, x1 in spans):
                continue
            count += 1
            if len(bad) < limit:
                bad.append('(%d,%d): %s, expected %s' % (col, row, tuple(a[i:i + 3]),
                                                          tuple(e[i:i + 3])))
    if count:
        return ['%d pixels differ' % count] + bad
    return []


def marker_position(view_width, view_height, mandel_view=(-525.0, 0.0, 1.0),
                    julia_c=(-0.188, 0.666)):
    """The centre of the C marker cross in the Mandelbrot view, in window coordinates
    (x rightward, y downward from the top row), from the program's drawing formula."""
    cx, cy, s = mandel_view
    cr, ci = julia_c
    half_w, half_h = view_width // 2, view_height // 2
    x = int((cr * 0.25 - cx * 0.25 / 700) / s * 700 + half_w)
    y = int(half_h - (ci * 0.25 + cy * 0.25 / 700) / s * 700)
    return x, view_height - 1 - y


def overlay_mask(view, view_width, view_height, mandel_view=(-525.0, 0.0, 1.0),
                 julia_c=(-0.188, 0.666), margin=1):
    """Rectangles (x, y, w, h; y downward) that the info overlay and the C marker may
    cover in a view: the title box at the top, the bottom band and, on the Mandelbrot
    view, the square around the cross. Each grows by `margin` pixels on every side."""
    box = 134 if view == 'mandel' else 77
    band = 40 if view == 'mandel' else 55
    m = margin
    half = view_width // 2
    rects = [
        (half - box // 2 - m, 0, box + 2 * m + 1, 25 + m),
        (0, view_height - band - m, view_width, band + m),
    ]
    if view == 'mandel':
        x, y = marker_position(view_width, view_height, mandel_view, julia_c)
        rects.append((x - 10 - m, y - 10 - m, 21 + 2 * m, 21 + 2 * m))
    return rects


def render_view(view, width, height, center_x, center_y, scale, c_re, c_im,
                max_iterations=128, palette=0, tool=None):
    """The core's image of a view ('mandel' or 'julia') for that state, top row first,
    from mandeljulia-render (default $MANDELJULIA_RENDER)."""
    tool = tool or os.environ.get('MANDELJULIA_RENDER')
    if not tool:
        raise HarnessError('MANDELJULIA_RENDER is not set')
    args = [tool, view, str(width), str(height)] + [repr(float(v)) for v in
                                                     (center_x, center_y, scale, c_re, c_im)]
    args += [str(max_iterations), str(palette), '-']
    done = subprocess.run(args, capture_output=True, timeout=120)
    if done.returncode != 0:
        raise HarnessError('%s failed: %s' % (' '.join(args), done.stderr.decode()))
    return parse_ppm(done.stdout)


def start_view_image(view, view_width=500, view_height=500):
    """render_view for the start state of either view at the given size."""
    if view == 'mandel':
        return render_view('mandel', view_width, view_height, -525.0, 0.0, 1.0, -0.188, 0.666)
    return render_view('julia', view_width, view_height, 0.0, 0.0, 1.0, -0.188, 0.666)


# ---------------------------------------------------------------- processes

@dataclass
class Geometry:
    """One window: position relative to its parent's drawing area, absolute position
    on the screen (top-left of the drawing area), size and whether it is mapped."""
    window_id: int
    x: int
    y: int
    abs_x: int
    abs_y: int
    width: int
    height: int
    mapped: bool


def _die_with_parent():
    # Children get SIGKILL when this process dies, even by SIGKILL (CTest timeout).
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG
    except Exception:
        pass


def _stop(process, grace=3.0):
    if process is None or process.poll() is not None:
        return
    try:
        process.terminate()
        process.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout=10)
    except ProcessLookupError:
        pass


def _sigterm_to_exit(signum, frame):
    raise SystemExit(128 + signum)


def wait_until(predicate, timeout=DEFAULT_TIMEOUT, interval=POLL_INTERVAL, what='condition'):
    """Polls predicate() until it returns a true value (returned), or raises HarnessError."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = predicate()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise HarnessError('timed out after %.0f s waiting for %s' % (timeout, what))
        time.sleep(interval)


class Session:
    """One Xvfb (plus optional openbox) and one run of the program; see the module doc."""

    def __init__(self, program=None, cwd=None, wm=False, args=(), ready=True,
                 timeout=DEFAULT_TIMEOUT, user=None, setup=None):
        self.program = program or os.environ.get('MANDELJULIA')
        if not self.program:
            raise HarnessError('MANDELJULIA is not set (path of build/mandeljulia)')
        self.program = os.path.abspath(self.program)
        self.requested_cwd = cwd
        self.cwd = None
        self.wm = wm
        self.args = list(args)
        self.ready = ready
        self.timeout = timeout
        self.user = user
        self.setup = setup
        self.xvfb = None
        self.openbox = None
        self.process = None
        self.display = None
        self.env = None
        self.main_id = None
        self._own_cwd = False
        self._out = bytearray()
        self._err = bytearray()
        self._readers = []
        self._lock = threading.Lock()

    # -- lifecycle

    def __enter__(self):
        if threading.current_thread() is threading.main_thread():
            signal.signal(signal.SIGTERM, _sigterm_to_exit)
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _start(self):
        if self.requested_cwd is None:
            self.cwd = tempfile.mkdtemp(prefix='mandeljulia-e2e-')
            self._own_cwd = True
        else:
            self.cwd = self.requested_cwd
        self._start_xvfb()
        if self.wm:
            self._start_openbox()
        self.start_program()
        if self.ready:
            self.wait_ready()

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        try:
            self.xvfb = subprocess.Popen(
                ['Xvfb', '-displayfd', str(write_end), '-screen', '0',
                 '%dx%dx24' % (SCREEN_WIDTH, SCREEN_HEIGHT), '-nolisten', 'tcp',
                 # No reset when the last client leaves: while it resets, a client of
                 # another user (Session(user=...)) is refused.
                 '-noreset'],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
            os.close(write_end)
            write_end = None
            text = b''
            deadline = time.monotonic() + self.timeout
            while not text.endswith(b'\n'):
                left = deadline - time.monotonic()
                if left <= 0 or self.xvfb.poll() is not None:
                    raise HarnessError('Xvfb gave no display number')
                ready, _, _ = select.select([read_end], [], [], min(left, 0.5))
                if ready:
                    chunk = os.read(read_end, 64)
                    if not chunk:
                        raise HarnessError('Xvfb closed the display pipe')
                    text += chunk
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        self.display = ':' + text.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display, GALLIUM_DRIVER='llvmpipe')
        self.env.pop('XAUTHORITY', None)

    def _start_openbox(self):
        self.openbox = subprocess.Popen(
            ['openbox'], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)

        def wm_running():
            out = self.run(['xprop', '-root', '_NET_SUPPORTING_WM_CHECK'], check=False)
            return 'window id' in out
        wait_until(wm_running, self.timeout, what='openbox to manage the screen')

    def start_program(self):
        identity = {}
        if self.user is not None:
            entry = pwd.getpwnam(self.user)
            identity = dict(user=entry.pw_uid, group=entry.pw_gid, extra_groups=[])

        def prepare():
            # Runs after the user change, which would clear the parent-death signal.
            _die_with_parent()
            if self.setup is not None:
                self.setup()
        self.process = subprocess.Popen(
            [self.program] + self.args, cwd=self.cwd, env=self.env, stdin=subprocess.DEVNULL,
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, preexec_fn=prepare, **identity)
        for stream, sink in ((self.process.stdout, self._out), (self.process.stderr, self._err)):
            reader = threading.Thread(target=self._pump, args=(stream, sink), daemon=True)
            reader.start()
            self._readers.append(reader)

    def _pump(self, stream, sink):
        while True:
            chunk = os.read(stream.fileno(), 4096)
            if not chunk:
                return
            with self._lock:
                sink.extend(chunk)

    def close(self):
        """Stops the program, openbox and Xvfb (by process id) and removes the own cwd."""
        _stop(self.process, grace=1.0)
        for reader in self._readers:
            reader.join(timeout=2)
        _stop(self.openbox)
        _stop(self.xvfb)
        if self._own_cwd and self.cwd:
            shutil.rmtree(self.cwd, ignore_errors=True)
            self._own_cwd = False

    # -- the program's outputs

    def stdout_text(self):
        with self._lock:
            return self._out.decode(errors='replace')

    def stderr_text(self):
        with self._lock:
            return self._err.decode(errors='replace')

    def wait_for_stdout(self, text, timeout=None):
        """Waits until the program's stdout contains text (while it keeps running)."""
        return wait_until(lambda: text in self.stdout_text(), timeout or self.timeout,
                          what='%r on stdout (have %r)' % (text, self.stdout_text()))

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout=None):
        """The program's exit status; raises HarnessError if it keeps running."""
        try:
            code = self.process.wait(timeout=timeout or self.timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError('the program did not exit')
        for reader in self._readers:
            reader.join(timeout=2)
        return code

    # -- X tools

    def run(self, argv, check=True, timeout=COMMAND_TIMEOUT):
        """Runs an X client on this display; returns its stdout as text."""
        done = subprocess.run(argv, env=self.env, capture_output=True, timeout=timeout,
                              stdin=subprocess.DEVNULL)
        if check and done.returncode != 0:
            raise HarnessError('%s failed (%d): %s' % (' '.join(argv), done.returncode,
                                                      done.stderr.decode(errors='replace')))
        return done.stdout.decode(errors='replace')

    def xdotool(self, *args):
        return self.run(['xdotool'] + [str(a) for a in args])

    def _check_alive(self):
        if not self.running():
            raise HarnessError('the program ended (status %s); stderr: %s'
                               % (self.process.returncode, self.stderr_text()))

    def find_main_window(self):
        """The main window's id once it is mapped (polls; None while it is not)."""
        self._check_alive()
        out = self.run(['xdotool', 'search', '--onlyvisible', '--name',
                        '^' + re.escape(TITLE_PREFIX)], check=False)
        ids = [int(line) for line in out.split()]
        return ids[0] if ids else None

    def window_info(self, window_id):
        out = self.run(['xwininfo', '-id', str(window_id)])

        def field(name):
            return int(re.search(r'%s:\s+(-?\d+)' % name, out).group(1))
        return Geometry(window_id, field('Relative upper-left X'), field('Relative upper-left Y'),
                        field('Absolute upper-left X'), field('Absolute upper-left Y'),
                        field('Width'), field('Height'), 'IsUnMapped' not in out)

    def window_title(self):
        out = self.run(['xwininfo', '-id', str(self.main_id)])
        m = re.search(r'xwininfo: Window id: 0x[0-9a-f]+ "(.*)"', out)
        return m.group(1) if m else None

    def child_ids(self, window_id):
        out = self.run(['xwininfo', '-id', str(window_id), '-children'])
        return sorted(int(h, 16) for h in re.findall(r'^\s+(0x[0-9a-f]+) ', out, re.M))

    def geometry(self):
        """{'main', 'mandel', 'julia', 'help'} -> Geometry. The subwindows are told apart
        by creation order (X ids grow): Mandelbrot view, Julia view, help card."""
        if self.main_id is None:
            self.main_id = wait_until(self.find_main_window, self.timeout,
                                      what='the main window to be mapped')
        children = self.child_ids(self.main_id)
        if len(children) != 3:
            raise HarnessError('main window has %d subwindows, expected 3' % len(children))
        result = {'main': self.window_info(self.main_id)}
        for name, child in zip(('mandel', 'julia', 'help'), children):
            result[name] = self.window_info(child)
        return result

    # -- screenshots

    def screenshot(self):
        """The whole screen as an Image (ImageMagick import of the root window)."""
        path = os.path.join(tempfile.gettempdir(), 'mj-shot-%d-%s.ppm'
                            % (os.getpid(), self.display.lstrip(':')))
        try:
            for attempt in range(5):
                done = subprocess.run(['import', '-window', 'root', '-depth', '8',
                                       'ppm:' + path], env=self.env, capture_output=True,
                                      timeout=COMMAND_TIMEOUT, stdin=subprocess.DEVNULL)
                if done.returncode == 0:
                    return read_ppm(path)
                time.sleep(0.2)
            raise HarnessError('import failed: ' + done.stderr.decode(errors='replace'))
        finally:
            if os.path.exists(path):
                os.remove(path)

    def window_image(self, name, shot=None, geometry=None):
        """The pixels of one window ('main', 'mandel', 'julia', 'help') cut out of a
        screenshot (taken now unless given)."""
        g = (geometry or self.geometry())[name]
        shot = shot or self.screenshot()
        return crop(shot, g.abs_x, g.abs_y, g.width, g.height)

    def view_image(self, name, shot=None, geometry=None):
        return self.window_image(name, shot, geometry)

    def wait_stable(self, name='main', settle=0.3, timeout=None):
        """Waits until the window's pixels stop changing for `settle` seconds and are not
        all one colour (the views are drawn); returns the last image."""
        deadline = time.monotonic() + (timeout or self.timeout)
        last, since = None, None
        while True:
            self._check_alive()
            image = self.window_image(name)
            now = time.monotonic()
            if image.pixels != (last.pixels if last else None):
                last, since = image, now
            elif now - since >= settle and len(region_colours(image)) > 1:
                return image
            if now >= deadline:
                raise HarnessError('window %s did not settle within the timeout' % name)
            time.sleep(POLL_INTERVAL)

    def wait_ready(self):
        """Waits until the main window is mapped with its subwindows laid out and the
        window's pixels are drawn and stable."""
        geometry = wait_until(self._laid_out, self.timeout, what='the window layout')
        self.wait_stable('main')
        return geometry

    def _laid_out(self, width=None, height=None):
        try:
            g = self.geometry()
        except HarnessError:
            self._check_alive()
            return None
        main = g['main']
        if not main.mapped or not g['mandel'].mapped or not g['julia'].mapped:
            return None
        if width is not None and (main.width, main.height) != (width, height):
            return None
        view_w, view_h = (main.width - 30) // 2, main.height - 20
        if view_w > 0 and view_h > 0:
            for name in ('mandel', 'julia'):
                if (g[name].width, g[name].height) != (view_w, view_h):
                    return None
        return g

    def wait_for(self, predicate, timeout=None, what='condition'):
        """wait_until with the session's timeout; fails early if the program died."""
        def checked():
            self._check_alive()
            return predicate()
        return wait_until(checked, timeout or self.timeout, what=what)

    def wait_for_view(self, name, expected, exclude=(), timeout=None):
        """Waits until the window's pixels equal `expected` outside the excluded
        rectangles; on timeout raises HarnessError with the last differences."""
        last = ['never compared']

        def equal():
            self._check_alive()
            last[:] = compare(self.window_image(name), expected, exclude)
            return not last
        try:
            wait_until(equal, timeout or self.timeout, interval=0.1, what='view ' + name)
        except HarnessError:
            raise HarnessError('view %s differs from the expected image: %s'
                               % (name, '; '.join(last)))

    # -- input

    def _point(self, over, x=None, y=None):
        g = self.geometry()[over]
        if x is None:
            x, y = g.width // 2, g.height // 2
        return g.abs_x + x, g.abs_y + y

    def move(self, over, x=None, y=None):
        """Moves the pointer to (x, y) of a window (its centre by default)."""
        ax, ay = self._point(over, x, y)
        self.move_screen(ax, ay)
        return ax, ay

    def pointer(self):
        """The pointer's screen position."""
        out = self.xdotool('getmouselocation')
        return int(re.search(r'x:(-?\d+)', out).group(1)), int(re.search(r'y:(-?\d+)', out).group(1))

    def move_screen(self, x, y):
        """Moves the pointer to screen position (x, y) and waits until it is there
        (xdotool's own --sync waits long when the pointer is already there)."""
        self.xdotool('mousemove', '--', x, y)
        # The server keeps the pointer on the screen.
        target = (min(max(x, 0), SCREEN_WIDTH - 1), min(max(y, 0), SCREEN_HEIGHT - 1))
        wait_until(lambda: self.pointer() == target, 5.0, what='the pointer at %d,%d' % target)

    def key(self, *keysyms, over=None, x=None, y=None):
        """Presses and releases keys (X keysyms: 'plus', 'minus', 'comma', 'period', 'r',
        'R', 'i', 'f', 's', '1', 'F1', 'Escape'...). With no window manager the keyboard
        focus follows the pointer, so the pointer goes over `over` first when given."""
        if over is not None:
            self.move(over, x, y)
        self.xdotool('key', '--delay', '30', *keysyms)

    def press(self, button, over=None, x=None, y=None):
        if over is not None:
            self.move(over, x, y)
        self.xdotool('mousedown', button)

    def release(self, button, over=None, x=None, y=None):
        if over is not None:
            self.move(over, x, y)
        self.xdotool('mouseup', button)

    def click(self, button, over=None, x=None, y=None):
        self.press(button, over, x, y)
        self.release(button)

    def wheel(self, direction, over=None, x=None, y=None, steps=1):
        """Wheel steps: 'up' is X button 4 (GLUT 3, zoom in), 'down' button 5 (GLUT 4)."""
        button = 4 if direction == 'up' else 5
        if over is not None:
            self.move(over, x, y)
        for _ in range(steps):
            self.xdotool('click', button)

    def drag(self, over, start, end, button=1, steps=5):
        """Presses `button` at window point start, moves in `steps` steps to end, releases."""
        self.press(button, over, *start)
        for k in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * k // steps
            y = start[1] + (end[1] - start[1]) * k // steps
            self.move(over, x, y)
        self.release(button)

    def resize(self, width, height, wait=True):
        """Resizes the main window's drawing area (xdotool windowsize) and, by default,
        waits for the new layout and a stable picture; returns the geometry."""
        self.xdotool('windowsize', self.main_id or self.geometry()['main'].window_id,
                     width, height)
        if not wait:
            return None
        try:
            g = wait_until(lambda: self._laid_out(width, height), self.timeout,
                           what='the layout for %dx%d' % (width, height))
        except HarnessError as error:
            now = self.geometry()
            raise HarnessError('%s; now main %dx%d, views %dx%d' % (
                error, now['main'].width, now['main'].height, now['mandel'].width,
                now['mandel'].height))
        self.wait_stable('main')
        return g

    def move_window(self, x, y):
        """Moves the main window to screen position (x, y) (xdotool windowmove); does
        not wait: poll geometry() for the new place (a window manager adds its frame)."""
        self.xdotool('windowmove', self.geometry()['main'].window_id, x, y)
