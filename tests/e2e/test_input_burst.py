"""A seeded burst of random real input on the real program for a bounded time: keys,
wheel steps, drags with each button, F1, pointer moves and resizes of the main window,
down to sizes too small for the layout. Afterwards the program still lays its windows
out for the start size and draws them, Escape (after one that hides the help card, if
it is shown) ends it with status 0, and the snapshots it saved on the way are numbered
without gaps and complete.

The seed is printed; MANDELJULIA_BURST_SEED repeats a run."""

import os
import random
import time
import unittest

import harness

DURATION = 12.0  # seconds of input
# '+' only below this limit: renders at big limits are slow under software GL, and a
# slow program would still be working through the queued input at the end.
LIMIT_CAP = 256
START_LIMIT = 128

# Character keys and special keys the program handles, and some it ignores. No 'f'
# (full screen needs a window manager) and no Escape (it would end the burst).
KEYS = ['0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'minus', 'comma', 'period',
        'i', 'I', 'r', 'R', 's', 'S', 'F1', 'F1', 'a', 'x', 'space', 'Left', 'F2']


class Burst:
    """The random input and what it has to know about the program: the main window's
    place and size, and an upper bound of the iteration limit."""

    def __init__(self, session, rng):
        self.s = session
        self.rng = rng
        self.limit = START_LIMIT  # the limit, or more if a '-' went astray
        self.log = []
        self.refresh()

    def refresh(self):
        self.main = self.s.window_info(self.s.geometry()['main'].window_id)

    def inside(self, x, y):
        m = self.main
        return m.abs_x <= x < m.abs_x + m.width and m.abs_y <= y < m.abs_y + m.height

    def point(self, spill=0):
        """A screen point over the main window, or up to spill pixels beyond it."""
        m = self.main
        x = self.rng.randint(m.abs_x - spill, m.abs_x + m.width - 1 + spill)
        y = self.rng.randint(m.abs_y - spill, m.abs_y + m.height - 1 + spill)
        return x, y

    def move(self, x, y):
        self.log.append('move %d %d' % (x, y))
        self.s.move_screen(x, y)

    def ensure_focus(self):
        # With no window manager the keyboard focus follows the pointer.
        x, y = self.s.pointer()
        if not self.inside(x, y):
            self.move(*self.point())

    def key(self):
        keys = KEYS + (['plus'] * 2 if self.limit < LIMIT_CAP else [])
        name = self.rng.choice(keys)
        self.ensure_focus()
        self.log.append('key ' + name)
        self.s.xdotool('key', name)
        if name == 'plus':
            self.limit *= 2
        # A '-' is not counted: the bound stays an upper bound whatever happens to it.

    def wheel(self):
        button = self.rng.choice((4, 5))
        steps = self.rng.randint(1, 3)
        self.log.append('wheel %d x%d' % (button, steps))
        for _ in range(steps):
            self.s.xdotool('click', button)

    def drag(self):
        button = self.rng.choice((1, 1, 3, 3, 2))
        self.move(*self.point())
        self.log.append('press %d' % button)
        self.s.xdotool('mousedown', button)
        for _ in range(self.rng.randint(1, 5)):
            self.move(*self.point(spill=30))
        self.log.append('release %d' % button)
        self.s.xdotool('mouseup', button)

    def resize(self):
        if self.rng.random() < 0.25:
            width, height = self.rng.randint(1, 40), self.rng.randint(1, 40)
        else:
            width, height = self.rng.randint(200, 1200), self.rng.randint(150, 1000)
        self.log.append('resize %d %d' % (width, height))
        self.s.resize(width, height, wait=False)
        self.refresh()

    def step(self):
        action = self.rng.choices(
            (self.key, self.wheel, self.drag, self.resize, lambda: self.move(*self.point(40))),
            weights=(40, 12, 15, 8, 25))[0]
        action()


def check_snapshots(test, directory):
    """The snapshots the burst left: numbered on from frac001.tga without gaps, each
    complete for the size in its own header. Returns their count."""
    names = sorted(os.listdir(directory))
    test.assertEqual(names, ['frac%03d.tga' % n for n in range(1, len(names) + 1)])
    for name in names:
        with open(os.path.join(directory, name), 'rb') as f:
            data = f.read()
        test.assertGreaterEqual(len(data), 18, name)
        width, height = data[12] | data[13] << 8, data[14] | data[15] << 8
        test.assertEqual(data[:12] + data[16:18], bytes([0, 0, 2] + [0] * 9 + [24, 0x20]), name)
        test.assertEqual(len(data), 18 + 3 * width * height, name)
    return len(names)


class InputBurstTest(unittest.TestCase):
    def test_random_input_then_escape(self):
        seed = int(os.environ.get('MANDELJULIA_BURST_SEED', time.time_ns() % 1000000007))
        print('input burst seed %d' % seed, flush=True)
        with harness.Session() as s:
            burst = Burst(s, random.Random(seed))
            try:
                end = time.monotonic() + DURATION
                while time.monotonic() < end:
                    burst.step()
                    self.assertTrue(s.running(), 'the program ended')

                # Once the start size is laid out and drawn, the input before it has
                # been handled.
                s.resize(1030, 520)
                g = s.geometry()
                self.assertEqual((g['mandel'].width, g['mandel'].height), (500, 500))

                for _ in range(3):
                    help_shown = s.geometry()['help'].mapped
                    s.key('Escape', over='main')
                    if not help_shown:
                        break
                    s.wait_for(lambda: not s.geometry()['help'].mapped,
                               what='Escape to hide the help card')
                self.assertEqual(s.wait_exit(), 0, s.stderr_text())
                snapshots = check_snapshots(self, s.cwd)
            except BaseException:
                print('seed %d, last actions: %s' % (seed, '; '.join(burst.log[-40:])),
                      flush=True)
                raise
            print('%d actions, %d snapshots, limit at most %d'
                  % (len(burst.log), snapshots, burst.limit))


if __name__ == '__main__':
    unittest.main()
