"""The keyboard commands of the real program: the digits recolour both views, '+' and
'-' change the iteration limit, ',' and '.' zoom about the pointer, 'I' toggles the
overlay, 'R' resets, 'F' switches full screen and back, and Escape hides the help card,
then leaves full screen, then ends the program with status 0."""

import unittest

import harness

W = H = 500
MANDEL = (-525.0, 0.0, 1.0)
JULIA = (0.0, 0.0, 1.0)
C = (-0.188, 0.666)


def press(s, keys, over, x=None, y=None):
    """Keys with the pointer over a view. The pointer is first nudged to a spot beside
    the target (xdotool's synchronous move waits in vain for a move to where the
    pointer already is)."""
    if x is None:
        x, y = W // 2, H // 2
    s.move(over, x + 1 if x < 100 else x - 1, y)
    s.key(*keys.split(), over=over, x=x, y=y)


def render(view, navigation, iterations=128, palette=0, width=W, height=H):
    return harness.render_view(view, width, height, *navigation, *C, iterations, palette)


class KeysTest(unittest.TestCase):
    def expect_both(self, s, iterations=128, palette=0, julia=JULIA):
        for view, navigation in (('julia', julia), ('mandel', MANDEL)):
            s.wait_for_view(view, render(view, navigation, iterations, palette),
                            harness.overlay_mask(view, W, H))

    def test_colours_limit_zoom_overlay_and_reset(self):
        with harness.Session() as s:
            self.expect_both(s)
            previous = s.view_image('julia')
            for digit in '1234567890':
                with self.subTest(palette=digit):
                    press(s, digit, over='mandel')
                    self.expect_both(s, palette=int(digit))
                    now = s.view_image('julia')
                    self.assertNotEqual(now.pixels, previous.pixels, 'the colours did not change')
                    previous = now

            press(s, 'plus', over='julia')
            self.expect_both(s, iterations=256)
            press(s, 'minus minus', over='julia')
            self.expect_both(s, iterations=64)

            # ',' zooms in about the pointer (the Julia view at (100, 100): ox = oy = -150),
            # '.' zooms out again; the Mandelbrot view does not move.
            press(s, 'comma', over='julia', x=100, y=100)
            self.expect_both(s, iterations=64, julia=(-120.0, 120.0, 0.8))
            press(s, 'period', over='julia', x=100, y=100)
            press(s, 'period', over='julia', x=250, y=250)
            self.expect_both(s, iterations=64, julia=(0.0, 0.0, 1.25))

            # Without the overlay only the marker of C covers the computed pixels.
            press(s, 'i', over='mandel')
            s.wait_for_view('julia', render('julia', (0.0, 0.0, 1.25), 64))
            s.wait_for_view('mandel', render('mandel', MANDEL, 64),
                            harness.overlay_mask('mandel', W, H)[2:])
            press(s, 'I', over='mandel')
            band = harness.overlay_mask('julia', W, H)[1]
            s.wait_for(lambda: harness.crop(s.view_image('julia'), *band).pixels !=
                       harness.crop(render('julia', (0.0, 0.0, 1.25), 64), *band).pixels,
                       what='the overlay to come back')

            press(s, 'r', over='mandel')
            self.expect_both(s)
            self.assertTrue(s.running(), s.stderr_text())

    def test_full_screen_and_the_escape_cascade(self):
        with harness.Session(wm=True) as s:
            press(s, 'f', over='mandel')
            full = s.wait_for(lambda: s._laid_out(harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT),
                              what='full screen')
            view_w, view_h = (harness.SCREEN_WIDTH - 30) // 2, harness.SCREEN_HEIGHT - 20
            self.assertEqual((full['mandel'].width, full['mandel'].height), (view_w, view_h))
            s.wait_for_view('mandel', render('mandel', MANDEL, width=view_w, height=view_h),
                            harness.overlay_mask('mandel', view_w, view_h))

            press(s, 'F', over='julia')
            # The size comes back exactly; the place depends on what the window manager
            # reports for its frame.
            s.wait_for(lambda: s._laid_out(1030, 520), what='the window size back')
            self.expect_both(s)

            # Help card shown and full screen on: the first Escape only hides the card,
            # the second leaves full screen, the third ends the program with status 0.
            press(s, 'f', over='mandel')
            s.wait_for(lambda: s._laid_out(harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT),
                       what='full screen')
            press(s, 'F1', over='mandel', x=20, y=20)
            s.wait_for(lambda: s.geometry()['help'].mapped, what='the help card')
            press(s, 'Escape', over='mandel', x=20, y=20)
            s.wait_for(lambda: not s.geometry()['help'].mapped, what='the card to hide')
            self.assertTrue(s.running())
            self.assertEqual(s.geometry()['main'].width, harness.SCREEN_WIDTH)

            press(s, 'Escape', over='mandel', x=20, y=20)
            s.wait_for(lambda: s._laid_out(1030, 520), what='the window size back')
            self.assertTrue(s.running())

            press(s, 'Escape', over='mandel', x=20, y=20)
            self.assertEqual(s.wait_exit(), 0)


if __name__ == '__main__':
    unittest.main()
