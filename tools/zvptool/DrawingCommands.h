#pragma once
// The commands that draw with Qt (on an image or a printer). The light zvptool lists them but does not
// link Qt: it hands the command line to zvptool-qt, which holds every command, so the others start fast
// and load no GUI or printing libraries.
struct TCommandText {
  const char* Name;
  const char* Arguments;
  const char* Summary;
  const char* Options;
};

inline constexpr TCommandText RenderText{
    "render", "FILE.(zvp|emf) [--page N] [--dpi D] [--fit PX] -o OUT.png", "draw a page into a PNG image",
    "  --page N     the page to draw (default 1)\n"
    "  --dpi D      resolution, 1 to 2400 (default 96: one image pixel per page pixel)\n"
    "  --fit PX     scale down so that the longer side is at most PX pixels\n"
    "  -o OUT.png   the image to write\n"};
inline constexpr TCommandText PrintText{"print", "FILE.zvp [--printer NAME] [--copies N] [--from A --to B]",
                                        "print pages on a printer, as the viewer does",
                                        "  --printer NAME  a CUPS queue (default: the default printer)\n"
                                        "  --copies N      number of copies (default 1)\n"
                                        "  --from A        first page to print (default 1)\n"
                                        "  --to B          last page to print (default the last page)\n"};
inline constexpr TCommandText ThumbnailText{
    "thumbnail", "[-s SIZE] REPORT.zvp OUT.png", "draw page 1 fitted into SIZE x SIZE pixels on white",
    "  -s SIZE      the longest side of the image in pixels, 1 to 4096 (default 256)\n"};
