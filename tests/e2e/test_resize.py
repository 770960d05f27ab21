"""Resizing the real main window: the views follow the layout rules and show the
core's image of the start state at the new size; the help card is re-centred."""

import unittest

import harness

# drawing area -> view size and the hidden help card's place. 641 x 481 gives
# 305-pixel rows (915 bytes, no multiple of 4), which shows any row padding.
CASES = [
    ((831, 620), (400, 600), (215, 160)),
    ((641, 481), (305, 461), (120, 90)),
    ((1030, 520), (500, 500), (315, 110)),
]


class ResizeTest(unittest.TestCase):
    def test_layout_and_pictures_follow_the_size(self):
        with harness.Session() as s:
            border = s.geometry()['mandel'].x - 10
            for (width, height), (view_w, view_h), help_place in CASES:
                with self.subTest(size=(width, height)):
                    g = s.resize(width, height)
                    self.assertEqual((g['main'].width, g['main'].height), (width, height))
                    places = {'mandel': (border + 10, border + 10),
                              'julia': (border + view_w + 20, border + 10)}
                    for view, (x, y) in places.items():
                        self.assertEqual((g[view].x, g[view].y, g[view].width, g[view].height),
                                         (x, y, view_w, view_h), view)
                    # The hidden card's move reaches the server a little later.
                    s.wait_for(lambda: (s.geometry()['help'].x, s.geometry()['help'].y)
                               == help_place, what='the help card at %s' % (help_place,))
                    help_card = s.geometry()['help']
                    self.assertEqual((help_card.width, help_card.height, help_card.mapped),
                                     (400, 300, False))
                    for view in ('mandel', 'julia'):
                        s.wait_for_view(view, harness.start_view_image(view, view_w, view_h),
                                        harness.overlay_mask(view, view_w, view_h))
            self.assertTrue(s.running())


if __name__ == '__main__':
    unittest.main()
