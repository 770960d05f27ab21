"""The info overlay and the marker of C on the real program: the boxes dim what lies
under them to 0.3 of the core's image, the titles and lines are drawn in their colours,
the red cross stands on C, and with the overlay off only the cross remains."""
import unittest

import harness

VIEW = 500
TITLE = (255, 51, 51)     # (1, 0.2, 0.2)
LINES = (255, 128, 128)   # (1, 0.5, 0.5)
RED = (255, 0, 0)
MANDMAP = 7               # light greys where counts are low: the dimming shows clearly
# The cross at (348, 133) of the start view, y upward; in image rows (downward) 366.
CROSS_X, CROSS_ROW = 348, VIEW - 1 - 133


def dimmed(colour):
    return tuple(0.3 * c for c in colour)


def check_box(test, actual, expected, x0, x1, row0, row1, text_colours):
    """Every pixel of the rectangle is text or the expected pixel times 0.3 (alpha 0.7
    black over it), to within rounding; returns how many pixels were text."""
    text = 0
    for row in range(row0, row1):
        for x in range(x0, x1):
            a = actual.pixel(x, row)
            if a in text_colours:
                text += 1
                continue
            want = dimmed(expected.pixel(x, row))
            if any(abs(a[c] - want[c]) > 1.01 for c in range(3)):
                test.fail('pixel (%d, %d) is %s, expected about %s (0.3 x %s)'
                          % (x, row, a, want, expected.pixel(x, row)))
    return text


def red_pixels(image):
    return [(x, row) for row in range(image.height) for x in range(image.width)
            if image.pixel(x, row) == RED]


class OverlayTest(unittest.TestCase):
    def test_boxes_texts_and_cross(self):
        with harness.Session() as s:
            # The start state: outside the boxes and the cross both views show the core's
            # image; under the boxes it is dimmed.
            for view in ('mandel', 'julia'):
                want = harness.start_view_image(view)
                mask = harness.overlay_mask(view, VIEW, VIEW)
                s.wait_for(lambda: harness.compare(s.view_image(view), want, mask) == [],
                           what='the %s view to show the core image' % view)

            # Mandmap (palette 7) is light where the boxes are, so 0.3 of it is clearly
            # distinct from both the pixel and black.
            s.key(str(MANDMAP), over='mandel')
            images = {}
            for view, c_view in (('mandel', (-525.0, 0.0, 1.0)), ('julia', (0.0, 0.0, 1.0))):
                want = harness.render_view(view, VIEW, VIEW, *c_view, -0.188, 0.666, 128, MANDMAP)
                mask = harness.overlay_mask(view, VIEW, VIEW)
                s.wait_for(lambda: harness.compare(s.view_image(view), want, mask) == [],
                           what='the %s view in mandmap' % view)
                images[view] = (s.view_image(view), want)

            for view, box, band in (('mandel', 134, 40), ('julia', 77, 55)):
                actual, want = images[view]
                half = VIEW // 2
                # Title box: x from W/2 - b/2 to W/2 + b/2, the top 25 rows (inside by a
                # pixel, where rasterisation of the edges could go either way).
                title = check_box(self, actual, want, half - box // 2 + 1, half + box // 2 - 1,
                                  0, 24, (TITLE,))
                self.assertGreater(title, 50, '%s title' % view)
                # Bottom band, the whole width.
                lines = check_box(self, actual, want, 0, VIEW, VIEW - band + 1, VIEW, (LINES,))
                self.assertGreater(lines, 200, '%s lines' % view)
                # Just outside the boxes nothing is dimmed.
                for x, row in ((half - box // 2 - 3, 5), (half + box // 2 + 3, 5),
                               (half, 28), (5, VIEW - band - 3), (VIEW - 5, VIEW - band - 3)):
                    self.assertEqual(actual.pixel(x, row), want.pixel(x, row), (view, x, row))

            # The cross: pure red only on its two arms around (348, 366), none on the
            # Julia view (no table colour is pure red).
            reds = red_pixels(images['mandel'][0])
            self.assertTrue(all(abs(x - CROSS_X) <= 11 and abs(row - CROSS_ROW) <= 11
                                for x, row in reds), reds[:10])
            self.assertGreaterEqual(sum(1 for x, row in reds if abs(row - CROSS_ROW) <= 1), 18)
            self.assertGreaterEqual(sum(1 for x, row in reds if abs(x - CROSS_X) <= 1), 18)
            self.assertEqual(red_pixels(images['julia'][0]), [])

            # Overlay off: every pixel is the core's but for the cross, which stays.
            s.key('i', over='julia')
            cross = [(CROSS_X - 11, CROSS_ROW - 11, 23, 23)]
            for view in ('mandel', 'julia'):
                want = images[view][1]
                s.wait_for(lambda: harness.compare(s.view_image(view), want,
                                                   cross if view == 'mandel' else ()) == [],
                           what='the %s view without the overlay' % view)
            self.assertEqual(sorted(red_pixels(s.view_image('mandel'))), sorted(reds))


if __name__ == '__main__':
    unittest.main()
