"""scripts/screenshots still works: run into a temporary folder it writes the four
pictures of the main window as sound PNG files, and every picture README.md shows
exists in the repository and is a PNG."""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPT = os.path.join(ROOT, 'scripts', 'screenshots')
README = os.path.join(ROOT, 'README.md')
PICTURES = ('start.png', 'zoom.png', 'pick.png', 'help.png')
WINDOW = (1030, 520)             # the main window at its start size
SIGNATURE = b'\x89PNG\r\n\x1a\n'
CHANNELS = {2: 3, 3: 1}          # PNG colour type -> bytes a pixel at bit depth 8


def png_facts(path):
    """(width, height, colour type, filtered pixel bytes) of an 8-bit RGB or indexed
    PNG; fails on a bad signature, a chunk with a wrong CRC or pixel data of the
    wrong length."""
    with open(path, 'rb') as f:
        data = f.read()
    if data[:8] != SIGNATURE:
        raise AssertionError('%s: no PNG signature' % path)
    pos, chunks = 8, []
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 4:pos + 8 + length]
        crc, = struct.unpack('>I', data[pos + 8 + length:pos + 12 + length])
        if zlib.crc32(body) != crc:
            raise AssertionError('%s: bad CRC in %r' % (path, kind))
        chunks.append((kind, body[4:]))
        pos += 12 + length
    if chunks[0][0] != b'IHDR' or chunks[-1][0] != b'IEND':
        raise AssertionError('%s: chunks %s' % (path, [k for k, _ in chunks]))
    width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', chunks[0][1])
    if depth != 8 or colour not in CHANNELS or interlace != 0:
        raise AssertionError('%s: depth %d, colour type %d, interlace %d'
                             % (path, depth, colour, interlace))
    if colour == 3 and b'PLTE' not in [k for k, _ in chunks]:
        raise AssertionError('%s: indexed without a palette' % path)
    pixels = zlib.decompress(b''.join(body for kind, body in chunks if kind == b'IDAT'))
    stride = 1 + width * CHANNELS[colour]
    if len(pixels) != height * stride:
        raise AssertionError('%s: %d bytes of pixel data for %dx%d'
                             % (path, len(pixels), width, height))
    filters = {pixels[row * stride] for row in range(height)}
    if not filters <= {0, 1, 2, 3, 4}:
        raise AssertionError('%s: filter types %s' % (path, sorted(filters)))
    return width, height, colour, pixels


class ScreenshotsTest(unittest.TestCase):
    def test_script_writes_the_four_pictures(self):
        folder = tempfile.mkdtemp(prefix='mandeljulia-shots-')
        try:
            done = subprocess.run([sys.executable, SCRIPT, folder], capture_output=True,
                                  text=True, timeout=100, stdin=subprocess.DEVNULL)
            self.assertEqual(done.returncode, 0, done.stderr)
            self.assertEqual(sorted(os.listdir(folder)), sorted(PICTURES))
            for name in PICTURES:
                width, height, colour, pixels = png_facts(os.path.join(folder, name))
                self.assertEqual((width, height), WINDOW, name)
                # A drawn window, not a blank one: far more data than one colour needs.
                self.assertGreater(len(zlib.compress(pixels)), 20000, name)
        finally:
            shutil.rmtree(folder, ignore_errors=True)

    def test_a_failure_gives_a_non_zero_status(self):
        env = dict(os.environ, MANDELJULIA=os.path.join(ROOT, 'no-such-program'))
        folder = tempfile.mkdtemp(prefix='mandeljulia-shots-')
        try:
            done = subprocess.run([sys.executable, SCRIPT, folder], capture_output=True,
                                  text=True, timeout=60, env=env, stdin=subprocess.DEVNULL)
            self.assertNotEqual(done.returncode, 0)
            self.assertEqual(os.listdir(folder), [])
        finally:
            shutil.rmtree(folder, ignore_errors=True)

    def test_readme_pictures_exist_and_are_png(self):
        with open(README, encoding='utf-8') as f:
            text = f.read()
        paths = re.findall(r'!\[[^\]]*\]\(([^)\s]+)', text)
        paths += re.findall(r'<img\s[^>]*src="([^"]+)"', text)
        self.assertEqual(sorted(os.path.basename(p) for p in paths if p.startswith('docs/')),
                         sorted(PICTURES))
        for path in paths:
            self.assertFalse(re.match(r'^[a-z]+:|^/', path), 'not a repository path: ' + path)
            width, height, _, _ = png_facts(os.path.join(ROOT, path))
            if os.path.basename(path) in PICTURES:
                self.assertEqual((width, height), WINDOW, path)
            else:
                self.assertTrue(0 < width <= 4096 and 0 < height <= 4096, path)


if __name__ == '__main__':
    unittest.main()
