// The listing sample: landscape Letter at 96 dpi (1056 x 816 pixels), drawn in tenths of a millimetre
// through an anisotropic mapping, as reports laid out in paper units are.
#include <cstdio>
#include <string>

#include "PagePainter.h"
#include "SampleReports.h"

using namespace emf;

namespace {

constexpr int32_t PageWidth = 1056, PageHeight = 816;
constexpr int32_t PaperWidth = 2794, PaperHeight = 2159; // 0.1 mm
constexpr int32_t Left = 100, Right = 2694, RowHeight = 55, RowsPerPage = 28, RowsOnLastPage = 12;
constexpr uint32_t HeaderFill = EmfRgb(225, 235, 225), StripeFill = EmfRgb(246, 246, 246),
                   RuleColor = EmfRgb(110, 110, 110), Accent = EmfRgb(30, 110, 60);

const char* const Customers[] = {"Hurtownia Elektryczna „Iskra” sp. z o.o.",
                                 "Zakład Stolarski Wiśniewski i Synowie",
                                 "Przedsiębiorstwo Budowlane „Żelbet” S.A.",
                                 "Sklep Ogrodniczy „Źdźbło”",
                                 "Spółdzielnia Mieszkaniowa „Słoneczne Wzgórze” w likwidacji",
                                 "Pracownia Ślusarska Łukasz Ćwikliński",
                                 "Gospodarstwo Rolne Jaśkowiak",
                                 "Biuro Rachunkowe „Bilans” s.c.",
                                 "Warsztat Samochodowy „Tłok”",
                                 "Miejskie Przedsiębiorstwo Wodociągów i Kanalizacji",
                                 "Firma Usługowa „Dźwig” Andrzej Nowak",
                                 "Apteka „Pod Orłem”",
                                 "Hotel „Pod Różą” – restauracja i catering",
                                 "Przychodnia Zdrowia Rodzinnego",
                                 "Szkoła Podstawowa nr 12 im. Marii Konopnickiej"};
const char* const Cities[] = {"Gdańsk",   "Łódź",   "Kraków",  "Wrocław",       "Poznań",
                              "Szczecin", "Toruń",  "Rzeszów", "Zielona Góra",  "Częstochowa",
                              "Olsztyn",  "Kielce", "Opole",   "Bielsko-Biała", "Białystok"};

struct TSale {
  int32_t Month, Day; // October to December
  int64_t Net;
  int32_t VatRate;
};

TSale Sale(int32_t index, int32_t total) {
  int32_t day = static_cast<int32_t>(int64_t(index) * 92 / total);
  int32_t month = 10;
  for (int32_t length : {31, 30}) {
    if (day < length) break;
    day -= length;
    month++;
  }
  return {month, day + 1, 2000 + (int64_t(index) * 104729) % 900000, index % 7 == 3 ? 8 : 23};
}

int64_t Gross(const TSale& s) {
  return s.Net + (s.Net * s.VatRate + 50) / 100;
}

std::string TwoDigits(int32_t v) {
  char text[12];
  std::snprintf(text, sizeof text, "%02d", v);
  return text;
}

TTableLayout SalesTable() {
  return TTableLayout(Left,
                      {{"Lp.", 120, TA_CENTER},
                       {"Data", 220, TA_CENTER},
                       {"Nr dokumentu", 330, TA_LEFT},
                       {"Kontrahent", 700, TA_LEFT},
                       {"Miasto", 380, TA_LEFT},
                       {"Netto", 280, TA_RIGHT},
                       {"VAT", 260, TA_RIGHT},
                       {"Brutto", 304, TA_RIGHT}},
                      15);
}

struct TFonts {
  uint32_t Regular, Bold, Title, Small;
};

TFonts MakeFonts(TPagePainter& p) {
  TEmfFont f{.Face = "Arial", .Height = -35, .CharSet = EASTEUROPE_CHARSET};
  TFonts fonts{};
  fonts.Regular = p.AddFont(f);
  f.Weight = FW_BOLD;
  fonts.Bold = p.AddFont(f);
  f.Height = -60;
  fonts.Title = p.AddFont(f);
  f.Weight = FW_NORMAL;
  f.Italic = true;
  f.Height = -28;
  fonts.Small = p.AddFont(f);
  return fonts;
}

void Frame(TPagePainter& p, const TFonts& f, int32_t page, int32_t pageCount) {
  p.Font(f.Title);
  p.TextColor(Accent);
  p.Text(Left, 100, "Zestawienie sprzedaży");
  p.TextColor(0);
  p.Font(f.Regular);
  p.Text(Right, 120, "Okres: 01.10.2026 – 31.12.2026 · oddział Gdańsk", TA_RIGHT | TA_TOP);
  p.Line(Left, 200, Right, 200, Accent, 5);
  p.Line(Left, 2040, Right, 2040, RuleColor);
  p.Font(f.Small);
  p.Text(Left, 2060, "Wydruk: 01.12.2026 12:00 · kwoty w złotych");
  p.Text(Right, 2060, "Strona " + std::to_string(page) + " z " + std::to_string(pageCount),
         TA_RIGHT | TA_TOP);
}

// Monthly totals as bars, a trend line and markers, drawn in a saved state with its own origin and clip.
void Chart(TPagePainter& p, const TFonts& f, const int64_t (&months)[3], int32_t top) {
  TEmfWriter& w = p.Writer();
  p.SaveDC();
  w.SetWindowOrg(-Left, -top); // the chart draws from its own corner
  w.IntersectClipRect(0, 0, 1400, 700);
  p.Font(f.Bold);
  p.Text(0, 0, "Sprzedaż brutto w miesiącach");
  int64_t highest = 1;
  for (int64_t m : months)
    highest = std::max(highest, m);
  const char* const names[] = {"październik", "listopad", "grudzień"};
  const uint32_t colours[] = {EmfRgb(70, 130, 180), EmfRgb(60, 160, 90), EmfRgb(200, 120, 40)};
  TPointL trend[3];
  p.Font(f.Regular);
  for (int k = 0; k < 3; k++) {
    const int32_t height = static_cast<int32_t>(months[k] * 450 / highest);
    const int32_t x = 100 + 400 * k;
    p.Pen(RuleColor, 3);
    p.Brush(colours[k]);
    w.Rectangle(x, 600 - height, x + 250, 600);
    trend[k] = {x + 125, 600 - height - 80}; // above the amounts
    w.Ellipse(x + 105, 620, x + 145, 660);   // legend marker
    p.Text(x + 160, 640, names[k], TA_LEFT | TA_BASELINE);
    p.Text(x + 125, 590 - height, FormatAmount(months[k]), TA_CENTER | TA_BOTTOM);
  }
  p.Pen(EmfRgb(180, 30, 30), 8);
  w.Polyline(trend);
  const TPointL tip = trend[2];
  const TPointL arrow[] = {{tip.x + 45, tip.y}, {tip.x + 5, tip.y - 20}, {tip.x + 5, tip.y + 20}};
  p.Brush(EmfRgb(180, 30, 30));
  w.Polygon16(arrow);
  p.RestoreDC();
}

} // namespace

void MakeListingPages(int32_t pageCount, const std::function<void(const TMetafile&)>& Sink) {
  const int32_t total = (pageCount - 1) * RowsPerPage + RowsOnLastPage;
  int64_t months[3] = {0, 0, 0}, sums[3] = {0, 0, 0};
  int32_t index = 0;
  for (int32_t page = 1; page <= pageCount; page++) {
    TEmfWriter w(PageWidth, PageHeight, 96);
    w.SetMapMode(MM_ANISOTROPIC);
    w.SetWindowExt(PaperWidth, PaperHeight);
    w.SetViewportExt(PageWidth, PageHeight);
    TPagePainter p(w);
    const TFonts f = MakeFonts(p);
    Frame(p, f, page, pageCount);
    const TTableLayout table = SalesTable();
    int32_t y = 240;
    p.FillRect(table.Left(), y, table.Right(), y + RowHeight, HeaderFill);
    p.Font(f.Bold);
    table.Header(p, y, RowHeight);
    p.Font(f.Regular);
    y += RowHeight;
    const int32_t rows = page < pageCount ? RowsPerPage : RowsOnLastPage;
    for (int32_t r = 0; r < rows; r++, index++, y += RowHeight) {
      const TSale s = Sale(index, total);
      months[s.Month - 10] += Gross(s);
      sums[0] += s.Net;
      sums[1] += Gross(s) - s.Net;
      sums[2] += Gross(s);
      if (r % 2 == 1) p.FillRect(table.Left(), y, table.Right(), y + RowHeight, StripeFill);
      table.Row(p, y, RowHeight,
                {std::to_string(index + 1), TwoDigits(s.Day) + "." + TwoDigits(s.Month) + ".2026",
                 "FV/2026/" + TwoDigits(s.Month) + "/" + std::to_string(1000 + index).substr(1),
                 Customers[index % 15], Cities[(index * 7) % 15], FormatAmount(s.Net),
                 FormatAmount(Gross(s) - s.Net), FormatAmount(Gross(s))});
    }
    if (page == pageCount) {
      p.Font(f.Bold);
      table.Row(p, y, RowHeight,
                {"", "", "Razem", std::to_string(total) + " dokumentów", "", FormatAmount(sums[0]),
                 FormatAmount(sums[1]), FormatAmount(sums[2])});
      y += RowHeight;
    }
    table.Grid(p, 240, y, RuleColor);
    if (page == pageCount) Chart(p, f, months, y + 80);
    Sink(w.ToMetafile());
  }
}
