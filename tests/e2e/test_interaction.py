"""Mouse interaction with the real program: a left drag pans a view by the pointer's
movement, the wheel zooms the view under the pointer about the pointer, and a right
press or drag on the Mandelbrot view picks C and restarts the Julia view. Every
picture is compared with the core's render of the state the arithmetic predicts."""

import unittest

import harness

W = H = 500
START_C = (-0.188, 0.666)


def zoomed(view, x, y, direction):
    """The navigation after one zoom step about window point (x, y)."""
    cx, cy, s = view
    ox, oy = x - W // 2, y - H // 2
    if direction > 0:
        s = s * 4 / 5
        return cx + ox * s, cy - oy * s, s
    return cx - ox * s, cy + oy * s, s * 5 * 0.25


def panned(view, dx, dy):
    cx, cy, s = view
    return cx - dx * s * 4, cy + dy * s * 4, s


def picked(mandel, x, y):
    """C for a pick at window point (x, y): y taken downward, so C is mirrored."""
    cx, cy, s = mandel
    return (4 * ((x - W // 2) * s / 700 + cx * 0.25 / 700),
            4 * ((y - H // 2) * s / 700 - cy * 0.25 / 700))


class InteractionTest(unittest.TestCase):
    def expect(self, s, name, view, c, mandel):
        want = harness.render_view(name, W, H, *view, *c)
        s.wait_for_view(name, want, harness.overlay_mask(name, W, H, mandel, c))
        return want

    def test_pan_zoom_and_pick(self):
        with harness.Session() as s:
            mandel, julia, c = (-525.0, 0.0, 1.0), (0.0, 0.0, 1.0), START_C

            # Left drag on the Mandelbrot view, 40 right and 30 down in five steps.
            s.drag('mandel', (100, 100), (140, 130), button=1)
            mandel = panned(mandel, 40, 30)
            self.assertEqual(mandel, (-685.0, 120.0, 1.0))
            self.expect(s, 'mandel', mandel, c, mandel)

            # One wheel step up over (350, 100) zooms in about that point.
            s.wheel('up', over='mandel', x=350, y=100)
            mandel = zoomed(mandel, 350, 100, +1)
            self.expect(s, 'mandel', mandel, c, mandel)

            # The Julia view pans and zooms out the same way, independently.
            s.drag('julia', (200, 200), (230, 180), button=1)
            julia = panned(julia, 30, -20)
            self.expect(s, 'julia', julia, c, mandel)
            s.wheel('down', over='julia', x=100, y=400)
            julia = zoomed(julia, 100, 400, -1)
            self.assertEqual(julia, (30.0, 70.0, 1.25))
            before_pick = self.expect(s, 'julia', julia, c, mandel)
            band = harness.overlay_mask('julia', W, H)[1]
            old_band = harness.crop(s.view_image('julia'), *band)

            # A right press picks C and restarts the Julia view at 0, 0, 1.
            s.click(3, over='mandel', x=400, y=250)
            c = picked(mandel, 400, 250)
            julia = (0.0, 0.0, 1.0)
            self.expect(s, 'julia', julia, c, mandel)
            self.assertNotEqual(harness.crop(s.view_image('julia'), *band).pixels,
                                old_band.pixels, 'the overlay of the Julia view did not change')
            self.assertNotEqual(before_pick.pixels,
                                harness.render_view('julia', W, H, *julia, *c).pixels)

            # A right drag keeps picking and moves the marker, without recomputing the
            # Mandelbrot view: it equals its last render apart from the overlay and the
            # new marker (the old one is gone).
            s.drag('mandel', (401, 251), (300, 200), button=3)  # not where the click left the pointer
            c = picked(mandel, 300, 200)
            self.expect(s, 'julia', julia, c, mandel)
            self.expect(s, 'mandel', mandel, c, mandel)
            x, y = harness.marker_position(W, H, mandel, c)
            self.assertEqual((x, y), (300, 199))
            # Lines on whole pixel coordinates may land on either neighbouring row or
            # column; the arms must be there within one pixel.
            shot = s.view_image('mandel')
            red = bytes((255, 0, 0))
            for dx, dy in ((-7, 0), (7, 0), (0, -7), (0, 7)):
                near = harness.region_colours(shot, x + dx - 1, y + dy - 1, 3, 3)
                self.assertIn(red, near, 'no red cross at %s' % ((x + dx, y + dy),))
            self.assertTrue(s.running(), s.stderr_text())


if __name__ == '__main__':
    unittest.main()
