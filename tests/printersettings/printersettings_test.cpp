// Reading a printer's settings, the guarded setters and what ApplySettings writes into the device mode.
#include <gtest/gtest.h>

#include "VirtualPrinters.h"
#include "store/printer/PrinterSettings.h"

namespace {

// One virtual printer with the given default device mode, read into settings.
struct Reading {
  explicit Reading(TVirtualQueue queue)
      : Spool(std::make_shared<TVirtualSpool>()), Printer({std::move(queue)}, "Office", Spool) {
    Settings.SetPrinter(&Printer);
  }
  std::shared_ptr<TVirtualSpool> Spool;
  TVirtualPrinter Printer;
  TPrinterSettings Settings;
};

TVirtualQueue WithMode(void (*change)(TDevMode&)) {
  TVirtualQueue q = vp::Queue("Office");
  change(q.Defaults);
  return q;
}

} // namespace

TEST(PrinterSettingsRead, ResolutionMarginsSheetAndNames) {
  Reading r(vp::Queue("Office")); // 300 dpi, 5 mm margins, A4
  EXPECT_EQ(r.Settings.Device(), "Office");
  EXPECT_EQ(r.Settings.Driver(), "Virtual.ppd");
  EXPECT_EQ(r.Settings.Port(), "virtual:/");
  EXPECT_EQ(r.Settings.PixelsPerX(), 300);
  EXPECT_EQ(r.Settings.LeftOffset(), 50); // 59 px
  EXPECT_EQ(r.Settings.TopOffset(), 50);
  EXPECT_EQ(r.Settings.PaperSize(), TZVPaperSize::A4);
  EXPECT_EQ(r.Settings.Copies(), 1);
  EXPECT_EQ(r.Settings.OutputBin(), TZVBin::Auto);
}

TEST(PrinterSettingsRead, OfferedSizesAlwaysIncludeCustom) {
  Reading none(vp::Queue("Office", {}));
  EXPECT_TRUE(none.Settings.PaperSizeSupported(TZVPaperSize::Custom));
  for (int s = 1; s <= 26; ++s)
    EXPECT_FALSE(none.Settings.PaperSizeSupported(PaperSizeAt(s))) << s;

  Reading some(vp::Queue("Office", {1, 9, 700}));
  EXPECT_TRUE(some.Settings.PaperSizeSupported(TZVPaperSize::Letter));
  EXPECT_TRUE(some.Settings.PaperSizeSupported(TZVPaperSize::A4));
  EXPECT_FALSE(some.Settings.PaperSizeSupported(TZVPaperSize::A4Small));
}

TEST(PrinterSettingsRead, DeviceModeValuesMapOntoTheTables) {
  struct Case {
    const char* What;
    void (*Change)(TDevMode&);
    TZVBin Bin;
    bool Duplex;
    TZVDuplexMode Mode;
    TZVPaperSize Size;
  } cases[] = {
      {"source 1 reads First", [](TDevMode& m) { m.dmDefaultSource = 1; }, TZVBin::First, false, tzdNone,
       TZVPaperSize::A4},
      {"source 14 reads Cassette", [](TDevMode& m) { m.dmDefaultSource = 14; }, TZVBin::Cassette, false,
       tzdNone, TZVPaperSize::A4},
      {"user bit reads First", [](TDevMode& m) { m.dmDefaultSource = 0x107; }, TZVBin::First, false, tzdNone,
       TZVPaperSize::A4},
      {"duplex 3 is horizontal", [](TDevMode& m) { m.dmDuplex = 3; }, TZVBin::Auto, true, tzdHorizontal,
       TZVPaperSize::A4},
      {"duplex 2 is vertical", [](TDevMode& m) { m.dmDuplex = 2; }, TZVBin::Auto, true, tzdVertical,
       TZVPaperSize::A4},
      {"unknown paper code reads Default", [](TDevMode& m) { m.dmPaperSize = 27; }, TZVBin::Auto, false,
       tzdNone, TZVPaperSize::Default},
      {"user paper reads Custom", [](TDevMode& m) { m.dmPaperSize = 256; }, TZVBin::Auto, false, tzdNone,
       TZVPaperSize::Custom},
      {"unsupported paper field reads Default", [](TDevMode& m) { m.dmFields &= ~DM_PAPERSIZE; },
       TZVBin::Auto, false, tzdNone, TZVPaperSize::Default},
  };
  for (const auto& c : cases) {
    Reading r(WithMode(c.Change));
    EXPECT_EQ(r.Settings.OutputBin(), c.Bin) << c.What;
    EXPECT_EQ(r.Settings.Duplex(), c.Duplex) << c.What;
    EXPECT_EQ(r.Settings.DuplexMode(), c.Mode) << c.What;
    EXPECT_EQ(r.Settings.PaperSize(), c.Size) << c.What;
  }
}

// A printer whose paper is not tabled reports its physical sheet.
TEST(PrinterSettingsRead, DefaultPaperReportsThePhysicalSheet) {
  Reading r(WithMode([](TDevMode& m) { m.dmPaperSize = 0; }));
  EXPECT_EQ(r.Settings.PaperSize(), TZVPaperSize::Default);
  EXPECT_EQ(r.Settings.PaperWidth(), 2100);  // 2480 px at 300 dpi
  EXPECT_EQ(r.Settings.PaperLength(), 2970); // 3508 px
}

TEST(PrinterSettingsSetters, RefuseWhatThePrinterDoesNotSupport) {
  struct Case {
    const char* What;
    uint32_t Missing;
    void (*Set)(TPrinterSettings&);
    bool (*Changed)(const TPrinterSettings&);
  } cases[] = {
      {"copies", DM_COPIES, [](TPrinterSettings& s) { s.SetCopies(3); },
       [](const TPrinterSettings& s) { return s.Copies() == 3; }},
      {"duplex", DM_DUPLEX, [](TPrinterSettings& s) { s.SetDuplex(true); },
       [](const TPrinterSettings& s) { return s.Duplex(); }},
      {"orientation", DM_ORIENTATION, [](TPrinterSettings& s) { s.SetOrientation(poLandscape); },
       [](const TPrinterSettings& s) { return s.Orientation() == poLandscape; }},
      {"bin", DM_DEFAULTSOURCE, [](TPrinterSettings& s) { s.SetOutputBin(TZVBin::Manual); },
       [](const TPrinterSettings& s) { return s.OutputBin() == TZVBin::Manual; }},
  };
  for (const auto& c : cases) {
    Reading with(vp::Queue("Office"));
    c.Set(with.Settings);
    EXPECT_TRUE(c.Changed(with.Settings)) << c.What << " supported";
    Reading without(vp::Queue("Office", {1, 5, 9}, 9, vp::AllFields & ~c.Missing));
    c.Set(without.Settings);
    EXPECT_FALSE(c.Changed(without.Settings)) << c.What << " unsupported";
  }
}

TEST(PrinterSettingsSetters, PaperSizeAndCustomDimensions) {
  Reading r(vp::Queue("Office", {1, 9}));
  r.Settings.SetPaperSize(TZVPaperSize::Legal); // not offered
  EXPECT_EQ(r.Settings.PaperSize(), TZVPaperSize::A4);
  r.Settings.SetPaperWidth(1000); // A4 is tabled: no effect
  EXPECT_EQ(r.Settings.PaperWidth(), 2100);
  r.Settings.SetPaperSize(TZVPaperSize::Custom);
  r.Settings.SetPaperWidth(1000);
  r.Settings.SetPaperLength(1500);
  EXPECT_EQ(r.Settings.PaperWidth(), 1000);
  EXPECT_EQ(r.Settings.PaperLength(), 1500);
  r.Settings.SetTitle("T");
  EXPECT_EQ(r.Settings.Title(), "T");
}

TEST(PrinterSettingsApply, WritesTheDeviceModeFields) {
  Reading r(WithMode([](TDevMode& m) {
    m.dmDefaultSource = 0x107; // a user bit that must survive
    m.dmDuplex = 1;
  }));
  r.Settings.SetCopies(70000); // only the low 16 bits reach the device mode
  r.Settings.SetOrientation(poLandscape);
  r.Settings.SetOutputBin(TZVBin::Manual);
  r.Settings.SetPaperSize(TZVPaperSize::Letter);
  r.Settings.ApplySettings();
  const TDevMode m = r.Spool->ModesApplied.back();
  EXPECT_EQ(m.dmPaperSize, 1);
  EXPECT_EQ(m.dmCopies, static_cast<int16_t>(70000 & 0xFFFF));
  EXPECT_EQ(m.dmDefaultSource, 0x104);
  EXPECT_EQ(m.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(m.dmDuplex, 1);                                // duplex off writes nothing
  EXPECT_EQ(r.Printer.GetDeviceCaps(PHYSICALWIDTH), 3300); // Letter turned, at 300 dpi
}

TEST(PrinterSettingsApply, CustomSizeAndDuplexOnlyWhereSupported) {
  Reading r(WithMode([](TDevMode& m) {
    m.dmFields &= ~DM_PAPERWIDTH;
    m.dmDuplex = 2;
  }));
  r.Settings.SetPaperSize(TZVPaperSize::Custom);
  r.Settings.SetPaperWidth(1234);
  r.Settings.SetPaperLength(2345);
  r.Settings.ApplySettings();
  TDevMode m = r.Spool->ModesApplied.back();
  EXPECT_EQ(m.dmPaperSize, 256);
  EXPECT_EQ(m.dmPaperLength, 2345);
  EXPECT_EQ(m.dmPaperWidth, 0); // width not supported
  EXPECT_EQ(m.dmDuplex, DMDUP_VERTICAL);
  EXPECT_EQ(m.dmFields & (DM_COPIES | DM_DEFAULTSOURCE | DM_ORIENTATION | DM_DUPLEX),
            DM_COPIES | DM_DEFAULTSOURCE | DM_ORIENTATION | DM_DUPLEX);

  // Default paper is never written.
  Reading d(WithMode([](TDevMode& m) { m.dmPaperSize = 5; }));
  d.Settings.SetPaperSize(TZVPaperSize::Default);
  d.Settings.ApplySettings();
  EXPECT_EQ(d.Spool->ModesApplied.back().dmPaperSize, 5);
}
