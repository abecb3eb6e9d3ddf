// The invoice sample: A4 portrait at 96 dpi (794 x 1123 pixels), pixel coordinates (MM_TEXT).
#include <array>
#include <string>

#include "Logo.h"
#include "PagePainter.h"
#include "SampleReports.h"

using namespace emf;

namespace {

constexpr int32_t PageWidth = 794, PageHeight = 1123, Left = 57, Right = 737;
constexpr int32_t RowHeight = 22, PageCount = 3;
constexpr std::array<int32_t, PageCount> RowsOnPage = {28, 38, 14};
constexpr uint32_t HeaderFill = EmfRgb(220, 228, 240), StripeFill = EmfRgb(244, 244, 244),
                   RuleColor = EmfRgb(120, 120, 120), Accent = EmfRgb(20, 70, 150);

struct TItem {
  std::string Name, Unit;
  int64_t Quantity, UnitPrice; // price in grosze
  int32_t VatRate;             // percent
  int64_t Net() const { return Quantity * UnitPrice; }
  int64_t Gross() const { return Net() + (Net() * VatRate + 50) / 100; }
};

const char* const Goods[] = {"Łożysko kulkowe 6204-2RS",
                             "Śruba imbusowa M8×40, ocynk",
                             "Źródło światła LED 12 W",
                             "Żarówka halogenowa 35 W",
                             "Ćwiek tapicerski mosiężny",
                             "Uszczelka gumowa Ø 50 mm",
                             "Piła ręczna do drewna 500 mm",
                             "Klucz nasadowy 17 mm",
                             "Taśma izolacyjna czarna",
                             "Przewód YDY 3×2,5 mm² (metr)",
                             "Gniazdo podwójne z uziemieniem",
                             "Wiertło do betonu 8 mm",
                             "Kołek rozporowy 8×40",
                             "Farba akrylowa biała 10 l",
                             "Pędzel płaski 50 mm",
                             "Zawór kulowy ½\"",
                             "Rura miedziana 15 mm (metr)",
                             "Montaż instalacji (roboczogodzina)",
                             "Przegląd okresowy urządzeń",
                             "Dojazd serwisu – strefa II"};
const char* const Units[] = {"szt.", "szt.", "szt.",  "szt.", "opak.", "szt.", "szt.", "szt.",  "szt.", "m",
                             "szt.", "szt.", "opak.", "szt.", "szt.",  "szt.", "m",    "godz.", "usł.", "km"};

std::vector<TItem> Items() {
  std::vector<TItem> items;
  int32_t total = 0;
  for (int32_t n : RowsOnPage)
    total += n;
  for (int32_t i = 0; i < total; i++) {
    const int32_t k = i % 20;
    items.push_back({Goods[k] + (i >= 20 ? std::string(" – partia ") + std::to_string(i / 20 + 1) : ""),
                     Units[k], 1 + (i * 7) % 23, 350 + (i * 7919) % 48000, k >= 17 ? 8 : 23});
  }
  return items;
}

struct TFonts {
  uint32_t Regular, Bold, Italic, Title, Small;
};

TFonts MakeFonts(TPagePainter& p) {
  TEmfFont f{.Face = "Arial", .Height = -13, .CharSet = EASTEUROPE_CHARSET};
  TFonts fonts{};
  fonts.Regular = p.AddFont(f);
  f.Weight = FW_BOLD;
  fonts.Bold = p.AddFont(f);
  f.Weight = FW_NORMAL;
  f.Italic = true;
  fonts.Italic = p.AddFont(f);
  f.Italic = false;
  f.Weight = FW_BOLD;
  f.Height = -26;
  fonts.Title = p.AddFont(f);
  f.Weight = FW_NORMAL;
  f.Height = -11;
  fonts.Small = p.AddFont(f);
  return fonts;
}

TTableLayout ItemTable() {
  return TTableLayout(Left,
                      {{"Lp.", 32, TA_CENTER},
                       {"Nazwa towaru lub usługi", 226, TA_LEFT},
                       {"J.m.", 40, TA_CENTER},
                       {"Ilość", 46, TA_RIGHT},
                       {"Cena netto", 80, TA_RIGHT},
                       {"Wartość netto", 104, TA_RIGHT},
                       {"VAT", 48, TA_CENTER},
                       {"Wartość brutto", 104, TA_RIGHT}},
                      5);
}

void PageHeading(TPagePainter& p, const TFonts& f) {
  p.Writer().StretchDIBits(Left, 40, 64, 64, MakeLogo(48)); // stretched, as logos usually are
  p.Font(f.Bold);
  p.TextColor(Accent);
  p.Text(Left + 76, 46, "Zakład Usług Technicznych „Łęgowo” sp. z o.o.");
  p.TextColor(0);
  p.Font(f.Regular);
  p.Text(Left + 76, 66, "ul. Źródlana 7, 80-180 Gdańsk");
  p.Text(Left + 76, 84, "NIP 584-000-12-34 · tel. 58 000 12 34");
  p.Font(f.Title);
  p.Text(Right, 40, "Faktura VAT", TA_RIGHT | TA_TOP);
  p.Font(f.Regular);
  p.Text(Right, 76, "nr FV/2026/12/0147", TA_RIGHT | TA_TOP);
  p.Text(Right, 94, "Data wystawienia: 01.12.2026, Gdańsk", TA_RIGHT | TA_TOP);
  p.Line(Left, 118, Right, 118, Accent, 2);
}

void PageFooter(TPagePainter& p, const TFonts& f, int32_t page) {
  p.Line(Left, 1068, Right, 1068, RuleColor);
  p.Font(f.Small);
  p.Text(Left, 1076, "Faktura FV/2026/12/0147 · oryginał");
  p.Text(Right, 1076, "Strona " + std::to_string(page) + " z " + std::to_string(PageCount),
         TA_RIGHT | TA_TOP);
}

void Parties(TPagePainter& p, const TFonts& f) {
  const char* const seller[] = {"Zakład Usług Technicznych „Łęgowo” sp. z o.o.", "ul. Źródlana 7",
                                "80-180 Gdańsk", "NIP 584-000-12-34"};
  const char* const buyer[] = {"Przedsiębiorstwo Handlowe „Ślęża-Żuraw” s.c.", "ul. Ogrodowa 15/3",
                               "50-011 Wrocław", "NIP 897-000-56-78"};
  const int32_t middle = (Left + Right) / 2;
  p.Font(f.Bold);
  p.Text(Left, 134, "Sprzedawca:");
  p.Text(middle + 10, 134, "Nabywca:");
  p.Font(f.Regular);
  for (int i = 0; i < 4; i++) {
    p.Text(Left, 156 + 18 * i, seller[i]);
    p.Text(middle + 10, 156 + 18 * i, buyer[i]);
  }
  p.Text(Left, 246, "Data sprzedaży: 30.11.2026");
  p.Text(Left, 264, "Termin płatności: 15.12.2026 (przelew)");
  p.Text(middle + 10, 246, "Konto: 00 1020 0000 0000 0000 1234 5678");
  p.Text(middle + 10, 264, "Bank: Powszechny Bank Spółdzielczy");
}

// Draws rows [first, first + count) and returns the bottom of the table.
int32_t ItemRows(TPagePainter& p, const TFonts& f, const std::vector<TItem>& items, size_t first,
                 size_t count, int32_t top, int64_t carried, bool more) {
  const TTableLayout table = ItemTable();
  p.FillRect(table.Left(), top, table.Right(), top + RowHeight, HeaderFill);
  p.Font(f.Bold);
  table.Header(p, top, RowHeight);
  int32_t y = top + RowHeight;
  p.Font(f.Italic);
  if (first > 0) {
    table.Row(p, y, RowHeight, {"", "Z przeniesienia", "", "", "", "", "", FormatAmount(carried)});
    y += RowHeight;
  }
  p.Font(f.Regular);
  for (size_t i = first; i < first + count; i++, y += RowHeight) {
    const TItem& it = items[i];
    if (i % 2 == 1) p.FillRect(table.Left(), y, table.Right(), y + RowHeight, StripeFill);
    carried += it.Gross();
    table.Row(p, y, RowHeight,
              {std::to_string(i + 1), it.Name, it.Unit, std::to_string(it.Quantity),
               FormatAmount(it.UnitPrice), FormatAmount(it.Net()), std::to_string(it.VatRate) + "%",
               FormatAmount(it.Gross())});
  }
  if (more) {
    p.Font(f.Italic);
    table.Row(p, y, RowHeight, {"", "Do przeniesienia", "", "", "", "", "", FormatAmount(carried)});
    y += RowHeight;
  }
  table.Grid(p, top, y, RuleColor);
  return y;
}

void Summary(TPagePainter& p, const TFonts& f, const std::vector<TItem>& items, int32_t top) {
  int64_t net[2] = {0, 0}, gross[2] = {0, 0};
  for (const TItem& it : items) {
    const int k = it.VatRate == 23 ? 0 : 1;
    net[k] += it.Net();
    gross[k] += it.Gross();
  }
  const TTableLayout rates(
      Right - 368,
      {{"Stawka", 92, TA_CENTER}, {"Netto", 92, TA_RIGHT}, {"VAT", 92, TA_RIGHT}, {"Brutto", 92, TA_RIGHT}},
      5);
  p.FillRect(rates.Left(), top, rates.Right(), top + RowHeight, HeaderFill);
  p.Font(f.Bold);
  rates.Header(p, top, RowHeight);
  p.Font(f.Regular);
  const char* const names[] = {"23%", "8%"};
  int32_t y = top + RowHeight;
  for (int k = 0; k < 2; k++, y += RowHeight)
    rates.Row(p, y, RowHeight,
              {names[k], FormatAmount(net[k]), FormatAmount(gross[k] - net[k]), FormatAmount(gross[k])});
  p.Font(f.Bold);
  rates.Row(p, y, RowHeight,
            {"Razem", FormatAmount(net[0] + net[1]), FormatAmount(gross[0] + gross[1] - net[0] - net[1]),
             FormatAmount(gross[0] + gross[1])});
  y += RowHeight;
  rates.Grid(p, top, y, RuleColor);

  y += 24;
  p.Font(f.Title);
  p.Text(Right, y, "Do zapłaty: " + FormatAmount(gross[0] + gross[1]) + " zł", TA_RIGHT | TA_TOP);
  p.Font(f.Regular);
  p.Text(Left, y + 8, "Sposób płatności: przelew, termin 14 dni");

  y += 60;
  p.Writer().StretchDIBits(Left, y, 100, 100, MakePaymentCode(25));
  p.Font(f.Small);
  p.Text(Left, y + 106, "Kod płatności (zeskanuj w aplikacji banku)");
  p.Font(f.Italic);
  p.Text(Left + 120, y + 10, "Uwagi: towar wydano z magazynu w Łęgowie; reklamacje przyjmujemy pisemnie.");
  p.Text(Left + 120, y + 30, "Zestaw znaków: ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ — zażółć gęślą jaźń.");

  y += 170;
  const int32_t middle = (Left + Right) / 2;
  p.Line(Left + 20, y, middle - 40, y, 0);
  p.Line(middle + 40, y, Right - 20, y, 0);
  p.Font(f.Small);
  p.Text((Left + middle) / 2, y + 6, "Osoba upoważniona do odbioru", TA_CENTER | TA_TOP);
  p.Text((middle + Right) / 2, y + 6, "Osoba upoważniona do wystawienia", TA_CENTER | TA_TOP);
}

} // namespace

std::vector<TMetafile> MakeInvoicePages() {
  const std::vector<TItem> items = Items();
  std::vector<TMetafile> pages;
  size_t first = 0;
  int64_t carried = 0;
  for (int32_t page = 1; page <= PageCount; page++) {
    TEmfWriter w(PageWidth, PageHeight, 96);
    TPagePainter p(w);
    const TFonts f = MakeFonts(p);
    PageHeading(p, f);
    int32_t top = 140;
    if (page == 1) {
      Parties(p, f);
      top = 300;
    }
    const size_t count = static_cast<size_t>(RowsOnPage[static_cast<size_t>(page - 1)]);
    const int32_t bottom = ItemRows(p, f, items, first, count, top, carried, page < PageCount);
    for (size_t i = first; i < first + count; i++)
      carried += items[i].Gross();
    first += count;
    if (page == PageCount) Summary(p, f, items, bottom + 20);
    PageFooter(p, f, page);
    pages.push_back(w.ToMetafile());
  }
  return pages;
}
