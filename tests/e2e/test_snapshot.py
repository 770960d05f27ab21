"""Snapshots of the real program: 'S' writes the view under the pointer to the next
free fracNNN.tga in the working directory; the file holds exactly the view's computed
pixels (its screenshot apart from the overlay and the marker); over the help card
nothing is written."""

import os
import unittest

import harness

W = H = 500


def read_tga(path):
    """Decodes an uncompressed 24-bit TGA stored top row first, blue green red."""
    with open(path, 'rb') as f:
        data = f.read()
    header = data[:18]
    width = header[12] | header[13] << 8
    height = header[14] | header[15] << 8
    assert header[:3] == bytes((0, 0, 2)) and header[16] == 24 and header[17] == 0x20, header
    body = data[18:]
    assert len(body) == 3 * width * height, (len(body), width, height)
    rgb = bytearray(len(body))
    rgb[0::3], rgb[1::3], rgb[2::3] = body[2::3], body[1::3], body[0::3]
    return harness.Image(width, height, bytes(rgb))


class SnapshotTest(unittest.TestCase):
    def wait_for_file(self, s, name):
        path = os.path.join(s.cwd, name)
        s.wait_for(lambda: os.path.exists(path) and os.path.getsize(path) == 18 + 3 * W * H,
                   what=name)
        return read_tga(path)

    def test_snapshots_hold_the_view_under_the_pointer(self):
        with harness.Session() as s:
            for view in ('mandel', 'julia'):
                s.wait_for_view(view, harness.start_view_image(view),
                                harness.overlay_mask(view, W, H))

            s.key('s', over='mandel', x=120, y=380)
            saved = self.wait_for_file(s, 'frac001.tga')
            # The screenshot, the overlay and the marker aside; the file has neither.
            self.assertEqual(harness.compare(saved, s.view_image('mandel'),
                                             harness.overlay_mask('mandel', W, H)), [])
            self.assertEqual(harness.compare(saved, harness.start_view_image('mandel')), [])

            # Numbering goes on from the highest number already in the directory.
            with open(os.path.join(s.cwd, 'frac041.tga'), 'w') as f:
                f.write('not an image')
            s.key('S', over='julia', x=400, y=100)
            saved = self.wait_for_file(s, 'frac042.tga')
            self.assertEqual(harness.compare(saved, s.view_image('julia'),
                                             harness.overlay_mask('julia', W, H)), [])
            self.assertEqual(harness.compare(saved, harness.start_view_image('julia')), [])

            # Over the help card there is no view under the pointer: no file. The
            # snapshot after it shows that the key was handled in between.
            s.key('F1', over='mandel', x=100, y=100)
            s.wait_for(lambda: s.geometry()['help'].mapped, what='the help card')
            s.key('s', over='help', x=200, y=150)
            s.key('Escape', over='help', x=201, y=151)  # a fresh spot: see test_keys.press
            s.wait_for(lambda: not s.geometry()['help'].mapped, what='the card to hide')
            s.key('s', over='julia', x=450, y=450)
            self.wait_for_file(s, 'frac043.tga')
            self.assertEqual(sorted(n for n in os.listdir(s.cwd) if n.startswith('frac')),
                             ['frac001.tga', 'frac041.tga', 'frac042.tga', 'frac043.tga'])
            self.assertTrue(s.running(), s.stderr_text())


if __name__ == '__main__':
    unittest.main()
