"""The harness's own pixel helpers, without a display: PPM parsing, cropping,
masked comparison and the places the overlay masks leave out."""

import unittest

import harness


def solid(width, height, colour):
    return harness.Image(width, height, bytes(colour) * width * height)


class HarnessHelpersTest(unittest.TestCase):
    def test_parse_ppm_reads_8_and_16_bit_samples_and_comments(self):
        cases = [
            (b'P6\n2 1\n255\n' + bytes([1, 2, 3, 4, 5, 6]), [(1, 2, 3), (4, 5, 6)]),
            (b'P6 # made by hand\n2 1 255\n' + bytes([9, 8, 7, 6, 5, 4]), [(9, 8, 7), (6, 5, 4)]),
            (b'P6\n1 2\n65535\n' + bytes([10, 0, 20, 0, 30, 0, 40, 1, 50, 1, 60, 1]),
             [(10, 20, 30), (40, 50, 60)]),
        ]
        for data, pixels in cases:
            with self.subTest(header=data[:12]):
                image = harness.parse_ppm(data)
                got = [image.pixel(i % image.width, i // image.width) for i in range(len(pixels))]
                self.assertEqual(got, pixels)

    def test_crop_takes_the_rectangle_and_clips_at_the_edges(self):
        image = harness.Image(3, 2, bytes(range(18)))
        self.assertEqual(harness.crop(image, 1, 0, 2, 2).pixels,
                         bytes([3, 4, 5, 6, 7, 8, 12, 13, 14, 15, 16, 17]))
        clipped = harness.crop(image, -1, 1, 3, 5)
        self.assertEqual((clipped.width, clipped.height), (2, 1))
        self.assertEqual(clipped.pixels, bytes(range(9, 15)))

    def test_compare_counts_differences_outside_the_masks_only(self):
        expected = solid(4, 3, (0, 0, 0))
        actual = bytearray(expected.pixels)
        actual[(1 * 4 + 2) * 3] = 255  # pixel (2, 1)
        actual = harness.Image(4, 3, bytes(actual))
        self.assertEqual(harness.compare(actual, expected, [(2, 1, 1, 1)]), [])
        self.assertEqual(harness.compare(actual, expected, [(0, 0, 2, 3)])[0], '1 pixels differ')
        self.assertIn('(2,1)', harness.compare(actual, expected)[1])
        self.assertEqual(harness.compare(solid(4, 2, (0, 0, 0)), expected),
                         ['size 4x2, expected 4x3'])

    def test_marker_and_overlay_masks(self):
        # The cross of the start state is drawn at (348, 133) counted from the bottom.
        self.assertEqual(harness.marker_position(500, 500), (348, 500 - 1 - 133))
        mandel = harness.overlay_mask('mandel', 500, 500, margin=0)
        self.assertEqual(mandel, [(183, 0, 135, 25), (0, 460, 500, 40), (338, 356, 21, 21)])
        julia = harness.overlay_mask('julia', 400, 600, margin=0)
        self.assertEqual(julia, [(162, 0, 78, 25), (0, 545, 400, 55)])


if __name__ == '__main__':
    unittest.main()
