#include <gtest/gtest.h>

#include "platform/scaled_view.h"

TEST(ScaledView, TheLargestWholeFactorThatFitsCentredAndNeverBelowOne) {
  const struct {
    int width, height, factor, left, top;
  } cases[] = {
      {700, 500, 1, 0, 0},      {684, 461, 1, 0, 0},     {750, 560, 1, 25, 30},    {1399, 1000, 1, 349, 250},
      {1400, 1000, 2, 0, 0},    {1500, 1100, 2, 50, 50}, {1920, 1057, 2, 260, 28}, {2100, 1499, 2, 350, 249},
      {2100, 1500, 3, 0, 0},    {3840, 2160, 4, 520, 80}, {300, 2000, 1, 0, 750},
  };
  for (const auto &c : cases) {
    scaled_view view = view_in_window(c.width, c.height);
    EXPECT_EQ(view.factor, c.factor) << c.width << "x" << c.height;
    EXPECT_EQ(view.left, c.left) << c.width << "x" << c.height;
    EXPECT_EQ(view.top, c.top) << c.width << "x" << c.height;
  }
}

TEST(ScaledView, WindowPointsMapBackToThePictureAndTheBackgroundIsOutside) {
  const scaled_view twice = view_in_window(1500, 1100);  // 2x from (50, 50)
  const scaled_view once = view_in_window(700, 500);
  const struct {
    scaled_view view;
    int x, y, picture_x, picture_y;
    bool inside;
  } cases[] = {
      {once, 0, 0, 0, 0, true},        {once, 699, 499, 699, 499, true}, {once, 120, 20, 120, 20, true},
      {once, 700, 20, 700, 20, false}, {once, -1, 20, -1, 20, false},
      {twice, 50, 50, 0, 0, true},     {twice, 51, 51, 0, 0, true},      {twice, 290, 90, 120, 20, true},
      {twice, 291, 91, 120, 20, true}, {twice, 1449, 1049, 699, 499, true},
      {twice, 49, 60, -1, 5, false},   {twice, 48, 60, -1, 5, false},    {twice, 47, 60, -2, 5, false},
      {twice, 1450, 60, 700, 5, false}, {twice, 60, 1050, 5, 500, false}, {twice, 0, 0, -25, -25, false},
  };
  for (const auto &c : cases) {
    picture_point p = point_in_picture(c.view, c.x, c.y);
    EXPECT_EQ(p.x, c.picture_x) << c.x << "," << c.y << " at " << c.view.factor << "x";
    EXPECT_EQ(p.y, c.picture_y) << c.x << "," << c.y << " at " << c.view.factor << "x";
    EXPECT_EQ(p.inside, c.inside) << c.x << "," << c.y << " at " << c.view.factor << "x";
  }
}
