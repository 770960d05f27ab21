"""The help card on the real program: F1 shows it over the views with its frame,
heading and texts where they belong, F1 again hides it and the views come back as
they were; other function keys do nothing."""
import unittest

import harness

WHITE = (255, 255, 255)
CARD_GREY = (51, 51, 51)  # clear colour 0.2
CARD_WIDTH, CARD_HEIGHT = 400, 300


def white_pixels(card, x0, x1, gl_y0, gl_y1):
    """White pixels (x, GL y) of the card with x0 <= x < x1 and gl_y0 <= y < gl_y1,
    y counted upward from the card's bottom row as the card draws it."""
    found = []
    for gl_y in range(gl_y0, gl_y1):
        row = CARD_HEIGHT - 1 - gl_y
        for x in range(x0, x1):
            if card.pixel(x, row) == WHITE:
                found.append((x, gl_y))
    return found


def white_row_near(card, gl_y, x0, x1):
    """Whether a row within 1 of gl_y is white from x0 to x1 (a horizontal frame edge)."""
    return any(all(card.pixel(x, CARD_HEIGHT - 1 - y) == WHITE for x in range(x0, x1))
               for y in (gl_y - 1, gl_y, gl_y + 1))


def white_column_near(card, x, gl_y0, gl_y1):
    return any(all(card.pixel(c, CARD_HEIGHT - 1 - y) == WHITE for y in range(gl_y0, gl_y1))
               for c in (x - 1, x, x + 1))


class HelpCardTest(unittest.TestCase):
    def test_f1_shows_the_card_and_f1_again_hides_it(self):
        with harness.Session() as s:
            before = s.wait_stable('main')
            self.assertFalse(s.geometry()['help'].mapped)

            # Another function key and an arrow do nothing: had either shown the card,
            # the F1 after them would hide it and the wait below would fail.
            s.key('F2', 'Left', over='julia')
            self.assertFalse(s.geometry()['help'].mapped)

            s.key('F1', over='mandel')
            s.wait_for(lambda: s.geometry()['help'].mapped, what='the help card to show')
            g = s.geometry()['help']
            self.assertEqual((g.x, g.y, g.width, g.height), (315, 110, CARD_WIDTH, CARD_HEIGHT))
            card = s.wait_stable('help')

            # Dark grey with white lines and text, nothing else.
            self.assertEqual(harness.region_colours(card), {bytes(CARD_GREY), bytes(WHITE)})
            self.assertEqual(card.pixel(100, 150), CARD_GREY)
            self.assertEqual(card.pixel(1, 1), CARD_GREY)

            # The frame, 5 pixels inside the card's edges (within a pixel of rasterisation).
            self.assertTrue(white_row_near(card, 5, 10, 390), 'bottom edge')
            self.assertTrue(white_row_near(card, 295, 10, 390), 'top edge')
            self.assertTrue(white_column_near(card, 5, 10, 290), 'left edge')
            self.assertTrue(white_column_near(card, 395, 10, 290), 'right edge')
            self.assertEqual(white_pixels(card, 0, 3, 0, CARD_HEIGHT), [])
            self.assertEqual(white_pixels(card, 397, 400, 0, CARD_HEIGHT), [])

            # "HELP": 36 pixels from x = 182, on the line y = 270.
            heading = white_pixels(card, 10, 390, 255, 290)
            self.assertTrue(heading, 'no heading')
            xs = [x for x, _ in heading]
            ys = [y for _, y in heading]
            self.assertGreaterEqual(min(xs), 182)
            self.assertLessEqual(min(xs), 185)
            self.assertLessEqual(max(xs), 218)
            self.assertGreaterEqual(max(xs), 212)
            self.assertGreaterEqual(min(ys), 269)
            self.assertLessEqual(max(ys), 270 + 15)

            # The key text runs down from (50, 235), the mouse text from (20, 75).
            key_text = white_pixels(card, 10, 390, 100, 255)
            self.assertTrue(key_text, 'no key text')
            self.assertTrue(50 <= min(x for x, _ in key_text) <= 54)
            self.assertLessEqual(max(y for _, y in key_text), 235 + 15)
            mouse_text = white_pixels(card, 10, 390, 10, 100)
            self.assertTrue(mouse_text, 'no mouse text')
            self.assertTrue(20 <= min(x for x, _ in mouse_text) <= 24)
            self.assertLessEqual(max(y for _, y in mouse_text), 75 + 15)

            # F1 on the card itself hides it; the views behind it are drawn again from
            # their stored pixels, exactly as before.
            s.key('F1', over='help')
            s.wait_for(lambda: not s.geometry()['help'].mapped, what='the help card to hide')
            after = s.wait_stable('main')
            self.assertEqual(harness.compare(after, before), [])

            # And again from the Julia view.
            s.key('F1', over='julia')
            s.wait_for(lambda: s.geometry()['help'].mapped, what='the help card to show again')
            s.key('F1', over='julia', x=20, y=20)
            s.wait_for(lambda: not s.geometry()['help'].mapped, what='the help card to hide again')
            self.assertEqual(harness.compare(s.wait_stable('main'), before), [])
            self.assertTrue(s.running())


if __name__ == '__main__':
    unittest.main()
