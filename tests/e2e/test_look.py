"""What the real plug-in paints in its window, read back from kestrel-host's screenshots.

The plug-in window is photographed as the first dialog appears, after the screen picture has
arrived (the installation waits for it), or as the page is left when no dialog appears."""

import unittest

from kestrel_e2e import (ANSWER_EVERYTHING, InstallCase, WebServer, WinePrefix, bmp24, crlf,
                         install_web_folder, png_pixels)

TOP, BOTTOM = (255, 0, 128), (0, 255, 0)
YELLOW, BLACK = (255, 255, 0), (0, 0, 0)
SKY, WHITE = (0, 128, 255), (255, 255, 255)
PICTURE_W, PICTURE_H = 40, 24
# The picture's top left pixel is white, so that its placement and its rows' order show.
PICTURE = bmp24(PICTURE_W, PICTURE_H, lambda x, y: WHITE if (x, y) == (0, 0) else SKY)


class LookTest(InstallCase):
    def install(self, prefix, name, *lines):
        root = install_web_folder(self.tmp / name, crlf(
            r"DEFAULTDIR C:\LOOK NOASKDRIVE NOASKDIR", *lines), {"setup/pic.bmp": PICTURE})
        shots = self.tmp / (name + "-shots")
        with WebServer(root) as web:
            run = prefix.run_host(web.url("index.html"), answers=ANSWER_EVERYTHING,
                                  screenshots=shots)
            self.assertEqual(run.returncode, 0, run)
            self.assertIn("/setup/pic.bmp", web.paths())
        return png_pixels(shots / "001-plugin.png")

    def test_gradient_title_and_picture_as_painted_through_the_browser(self):
        with WinePrefix() as prefix:
            w, h, at = self.install(
                prefix, "corner", 'TITLE "Kestrel Look" "Arial" 36 Bold',
                "TITLECOLOR (255,255,0)", "SCREENCOLOR (255,0,128) (0,255,0)",
                "SCREENGRAPHIC pic.bmp BOTTOMRIGHT", "BEGINFIRSTSCREEN", "Look.",
                "ENDFIRSTSCREEN")
            tw, th, tile_at = self.install(prefix, "tile", "SCREENGRAPHIC pic.bmp TILE")

        # Bands 8 rows high, from the top colour falling by a whole step per band.
        steps = [(t - b) // (h // 8) if t >= b else -((b - t) // (h // 8))
                 for t, b in zip(TOP, BOTTOM)]

        def band(row):
            return tuple(t - row // 8 * s for t, s in zip(TOP, steps))
        self.assertEqual([at(0, y) for y in range(h)], [band(y) for y in range(h)])

        # The title in its colour over a black copy of itself 3 pixels lower right.
        area = [(x, y) for y in range(h // 4) for x in range(w // 2)]
        title = [p for p in area if at(*p) == YELLOW]
        shadow = [p for p in area if at(*p) == BLACK]
        self.assertTrue(title and shadow, "no title drawn")
        self.assertGreaterEqual(min(x for x, _ in title), 20)
        self.assertGreaterEqual(min(y for _, y in title), 20)
        for axis in (0, 1):
            self.assertEqual(max(p[axis] for p in shadow), max(p[axis] for p in title) + 3)

        # BOTTOMRIGHT: the picture's corner at (w - 40, h - 24), the gradient beside it.
        left, top = w - PICTURE_W, h - PICTURE_H
        self.assertEqual((at(left, top), at(w - 1, h - 1)), (WHITE, SKY))
        self.assertEqual(at(left - 1, h - 1), band(h - 1))

        # TILE: a copy of the picture at every multiple of its size, and nothing else.
        corners = {(x, y) for y in range(th) for x in range(tw) if tile_at(x, y) == WHITE}
        self.assertEqual(corners, {(x, y) for y in range(0, th, PICTURE_H)
                                   for x in range(0, tw, PICTURE_W)})


if __name__ == "__main__":
    unittest.main()
