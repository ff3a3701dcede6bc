// The client_width by client_height picture in a window of any size: drawn at the
// largest whole factor that fits (1 at least, so the 1x picture stays pixel-exact),
// centred, and each window point mapped back to the picture's point under it.
// The backends share this arithmetic; it knows no window system.
#pragma once
#include "platform/seam.h"

struct scaled_view {
  int factor;
  int left, top; // the window point of the picture's top-left pixel
};

// A window smaller than the picture shows it at 1x from its top-left corner, as
// a window of the picture's size would.
constexpr scaled_view view_in_window(int width, int height) {
  int across = width / client_width, down = height / client_height;
  int factor = across < down ? across : down;
  if (factor < 1) factor = 1;
  int left = (width - client_width * factor) / 2, top = (height - client_height * factor) / 2;
  return {factor, left > 0 ? left : 0, top > 0 ? top : 0};
}

struct picture_point {
  int x, y;
  bool inside; // false on the background around the picture
};

// Rounds down, so the points just left of or above the picture fall outside it.
constexpr int picture_coordinate(int window, int offset, int factor) {
  int d = window - offset;
  return d >= 0 ? d / factor : -((-d + factor - 1) / factor);
}

constexpr picture_point point_in_picture(const scaled_view &view, int x, int y) {
  int px = picture_coordinate(x, view.left, view.factor), py = picture_coordinate(y, view.top, view.factor);
  return {px, py, px >= 0 && py >= 0 && px < client_width && py < client_height};
}
