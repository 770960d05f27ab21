"""Start-up of the real program: the console line, the title, the window layout,
the white margins and the two views' first pictures."""

import os
import unittest

import harness

WHITE = (255, 255, 255)


def processor_count():
    # The processors this process may run on, as nproc counts them.
    if hasattr(os, 'sched_getaffinity'):
        return len(os.sched_getaffinity(0))
    return os.cpu_count()


class StartupTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = harness.Session(ready=False).__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.session.close()

    def setUp(self):
        self.s = self.session

    def test_1_startup_line_is_flushed_at_once(self):
        # Read while the program runs (it never ends by itself): a line left in the
        # stdio buffer of a pipe would not arrive here.
        self.s.wait_for_stdout('\n')
        self.assertTrue(self.s.running(), 'the program ended: ' + self.s.stderr_text())
        self.assertEqual(self.s.stdout_text(),
                         '# of processors/cores: %d\n' % processor_count())

    def test_2_title_names_the_processor_count(self):
        self.s.wait_ready()
        self.assertEqual(self.s.window_title(),
                         'Mandelbrot & Julia sets - %d processors/cores' % processor_count())

    def test_3_layout(self):
        g = self.s.wait_ready()
        main, mandel, julia, help_card = g['main'], g['mandel'], g['julia'], g['help']
        self.assertEqual((main.width, main.height), (1030, 520))
        border = mandel.x - 10
        self.assertGreaterEqual(border, 0)
        cases = [
            ('mandel', mandel, (border + 10, border + 10, 500, 500), True),
            ('julia', julia, (border + 520, border + 10, 500, 500), True),
            ('help', help_card, (315, 110, 400, 300), False),
        ]
        for name, got, (x, y, w, h), mapped in cases:
            with self.subTest(window=name):
                self.assertEqual((got.x, got.y, got.width, got.height), (x, y, w, h))
                self.assertEqual(got.mapped, mapped)

    def test_4_views_show_the_start_state_and_margins_are_white(self):
        self.s.wait_ready()
        # Without a window manager the window sits at (-1, -1): bring the whole
        # drawing area onto the screen.
        self.s.move_window(20, 20)
        self.s.wait_for(lambda: self.s.geometry()['main'].abs_x == 20, what='the move')
        self.s.wait_stable('main')
        for view in ('mandel', 'julia'):
            with self.subTest(view=view):
                self.s.wait_for_view(view, harness.start_view_image(view),
                                     harness.overlay_mask(view, 500, 500))
        g = self.s.geometry()
        self.assertEqual((g['main'].width, g['main'].height), (1030, 520))
        covered = [(g[v].x, g[v].y, g[v].width, g[v].height) for v in ('mandel', 'julia')]
        white = harness.Image(1030, 520, bytes(WHITE) * 1030 * 520)
        self.s.wait_for_view('main', white, covered)

    def test_5_stdout_has_nothing_else(self):
        self.s.wait_ready()
        self.assertTrue(self.s.running())
        self.assertEqual(self.s.stdout_text(),
                         '# of processors/cores: %d\n' % processor_count())


if __name__ == '__main__':
    unittest.main()
