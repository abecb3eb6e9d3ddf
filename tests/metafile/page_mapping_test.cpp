// The shared window/viewport mapping (platform/metafile/PageMapping.h).
#include <gtest/gtest.h>

#include "platform/metafile/PageMapping.h"

using namespace emf;

TEST(PageMapping, TextModeIsOneToOneAndTakesNoExtents) {
  TPageMapping m(TReferenceDevice(800, 600, 200, 150));
  EXPECT_EQ(m.MapMode(), MM_TEXT);
  EXPECT_FALSE(m.SetWindowExt(10, 10));
  m.SetWindowOrg(5, 6);
  m.SetViewportOrg(100, 200);
  EXPECT_DOUBLE_EQ(m.ToDeviceX(15), 110);
  EXPECT_DOUBLE_EQ(m.ToDeviceY(6), 200);
}

TEST(PageMapping, FixedModesMeasureTheReferenceDevice) {
  TPageMapping m(TReferenceDevice(800, 600, 200, 150)); // 4 px per mm
  ASSERT_TRUE(m.SetMapMode(MM_LOMETRIC));
  EXPECT_DOUBLE_EQ(m.WindowExt().cx, 2000);
  EXPECT_DOUBLE_EQ(m.ViewportExt().cy, -600);
  EXPECT_DOUBLE_EQ(m.ToDeviceX(100), 40);  // 10 mm
  EXPECT_DOUBLE_EQ(m.ToDeviceY(100), -40); // y grows upwards
  EXPECT_FALSE(m.SetViewportExt(1, 1));    // fixed modes ignore extents
  ASSERT_TRUE(m.SetMapMode(MM_HIMETRIC));
  EXPECT_DOUBLE_EQ(m.ToDeviceX(1000), 40);
  ASSERT_TRUE(m.SetMapMode(MM_TWIPS));
  EXPECT_NEAR(m.ToDeviceX(1440), 25.4 * 4, 1e-9);
  ASSERT_TRUE(m.SetMapMode(MM_LOENGLISH));
  EXPECT_NEAR(m.ToDeviceX(100), 25.4 * 4, 1e-9);
  ASSERT_TRUE(m.SetMapMode(MM_HIENGLISH));
  EXPECT_NEAR(m.ToDeviceX(1000), 25.4 * 4, 1e-9);
  EXPECT_FALSE(m.SetMapMode(9));
  EXPECT_EQ(m.MapMode(), MM_HIENGLISH);
}

TEST(PageMapping, DeviceWithoutSizesTakesTheDefault) {
  TReferenceDevice d(0, -1, 0, 0);
  EXPECT_EQ(d.PixelsX, 1280);
  EXPECT_EQ(d.PixelsY, 1024);
  EXPECT_EQ(d.MillimetresX, 320);
  EXPECT_EQ(d.MillimetresY, 240);
}

TEST(PageMapping, AnisotropicKeepsExtentsAndScalesEachAxis) {
  TPageMapping m;
  m.SetMapMode(MM_ANISOTROPIC);
  EXPECT_DOUBLE_EQ(m.WindowExt().cx, 1); // MM_TEXT's extents kept
  ASSERT_TRUE(m.SetWindowExt(1000, 1000));
  ASSERT_TRUE(m.SetViewportExt(100, -50));
  EXPECT_FALSE(m.SetViewportExt(0, 5));
  EXPECT_DOUBLE_EQ(m.Scale().cx, 0.1);
  EXPECT_DOUBLE_EQ(m.Scale().cy, -0.05);
}

TEST(PageMapping, IsotropicShrinksTheLargerScaleKeepingSigns) {
  TPageMapping m(TReferenceDevice(800, 600, 200, 150));
  m.SetMapMode(MM_ISOTROPIC); // starts out as MM_LOMETRIC
  EXPECT_DOUBLE_EQ(m.WindowExt().cx, 2000);
  m.SetWindowExt(100, 100);
  m.SetViewportExt(400, -200);
  EXPECT_DOUBLE_EQ(m.Scale().cx, 2);
  EXPECT_DOUBLE_EQ(m.Scale().cy, -2);
  TPageSize v = EffectiveViewportExt(MM_ISOTROPIC, m.WindowExt(), m.ViewportExt());
  EXPECT_DOUBLE_EQ(v.cx, 200); // the x axis had the larger scale
  EXPECT_DOUBLE_EQ(v.cy, -200);
  m.SetWindowExt(-100, 50);
  TPageSize s = m.Scale(); // |400 / -100| = 4, |-200 / 50| = 4
  EXPECT_DOUBLE_EQ(s.cx, -4);
  EXPECT_DOUBLE_EQ(s.cy, -4);
  // The same extents in anisotropic mode are left as given.
  v = EffectiveViewportExt(MM_ANISOTROPIC, {100, 100}, {400, -200});
  EXPECT_DOUBLE_EQ(v.cx, 400);
}

TEST(PageMapping, ZeroWindowExtentLeavesTheAxisUnscaled) {
  TPageSize s = PageScale(MM_ANISOTROPIC, {0, 10}, {50, 20});
  EXPECT_DOUBLE_EQ(s.cx, 1);
  EXPECT_DOUBLE_EQ(s.cy, 2);
}
