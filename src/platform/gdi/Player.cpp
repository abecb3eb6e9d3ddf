#include "Player.h"

#include <chrono>

#include "PlayRecords.h"
#include "platform/text/EmfPlusPlayback.h"

namespace {
// Reference-device pixels of the metafile frame (hundredths of a millimetre in the header).
QRectF FrameInDevicePixels(const TEnhMetaHeader& h) {
  double mmx = h.szlMillimeters.cx > 0 ? h.szlMillimeters.cx : 1,
         mmy = h.szlMillimeters.cy > 0 ? h.szlMillimeters.cy : 1;
  double kx = h.szlDevice.cx / (mmx * 100), ky = h.szlDevice.cy / (mmy * 100);
  QRectF frame(QPointF(h.rclFrame.left * kx, h.rclFrame.top * ky),
               QPointF(h.rclFrame.right * kx, h.rclFrame.bottom * ky));
  if (frame.width() <= 0 || frame.height() <= 0)
    frame =
        QRectF(QPointF(h.rclBounds.left, h.rclBounds.top), QPointF(h.rclBounds.right, h.rclBounds.bottom));
  return frame;
}

QTransform PlaybackTransform(const TEnhMetaHeader& h, const TEmfRect& rect) {
  QRectF frame = FrameInDevicePixels(h);
  double sx = frame.width() > 0 ? (rect.right - rect.left) / frame.width() : 1;
  double sy = frame.height() > 0 ? (rect.bottom - rect.top) / frame.height() : 1;
  return QTransform(sx, 0, 0, sy, rect.left - frame.left() * sx, rect.top - frame.top() * sy);
}

// Puts the painter and the context back as they were before a playback however it ends: normally, on a
// damaged metafile, or by an exception (an allocation that failed, a callback's own).
class TPlaybackRestore {
 public:
  explicit TPlaybackRestore(TGdiDC& dc)
      : FDc(dc), FState(dc.State()), FPlayback(dc.PlaybackTransform()), FPixels(dc.ReferencePixels()),
        FMillimetres(dc.ReferenceMillimetres()) {
    dc.Painter().save();
  }
  ~TPlaybackRestore() {
    FDc.ResetState();
    FDc.State() = FState;
    FDc.SetReferenceDevice(FPixels, FMillimetres);
    FDc.SetPlaybackTransform(FPlayback);
    FDc.Painter().restore();
  }
  TPlaybackRestore(const TPlaybackRestore&) = delete;
  TPlaybackRestore& operator=(const TPlaybackRestore&) = delete;

 private:
  TGdiDC& FDc;
  TDCState FState;
  QTransform FPlayback;
  QSize FPixels, FMillimetres;
};

std::string RecordPlace(const TEmfRecord& r) {
  return "record " + std::to_string(r.Index) + " (type " + std::to_string(r.Type) + ") at offset " +
         std::to_string(r.Offset);
}
} // namespace

bool EnumEnhMetaFile(TGdiDC& dc, const TMetafile& metafile, const TEnhMetaFileProc& proc, void* data,
                     const TEmfRect& rect) {
  if (metafile.Empty()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  const TEnhMetaHeader& h = metafile.Header();
  TPlaybackRestore restore(dc);
  dc.ResetState();
  dc.SetReferenceDevice(QSize(h.szlDevice.cx, h.szlDevice.cy),
                        QSize(h.szlMillimeters.cx, h.szlMillimeters.cy));
  dc.SetPlaybackTransform(PlaybackTransform(h, rect));
  // A page drawn only with EMF+ records plays its strings as GDI records, in one more table entry.
  TEmfPlusPlayback plus(metafile);
  THandleTable table(std::max<size_t>(1, plus.HandleCount()));
  bool result = true;
  // The deadline is checked between records: a page of many records stops, and every single record is
  // bounded by the other page limits.
  const auto start = std::chrono::steady_clock::now();
  const std::chrono::milliseconds deadline = dc.Limits().Deadline;
  bool timedOut = false;
  try {
    result = metafile.EnumerateRecords([&](const TEmfRecord& record) -> bool {
      if (std::chrono::steady_clock::now() - start > deadline) {
        timedOut = true;
        return false;
      }
      bool go = true;
      if (plus.Active() && record.Type == EMR_GDICOMMENT &&
          !plus.Translate(record, [&](const TEmfRecord& played) {
            go = go && proc(dc, table, played, static_cast<int>(table.Count()), data) != 0;
          }))
        dc.NoteOverLimit("EMF+ records damaged or past the page's limit"); // reported with the comment
      return go && proc(dc, table, record, static_cast<int>(table.Count()), data) != 0;
    });
  } catch (const EDamagedData& e) {
    SetLastErrorMessage(ERROR_INVALID_DATA, e.Message());
    result = false;
  }
  if (timedOut)
    SetLastErrorMessage(ERROR_TIMEOUT, "Drawing the page took longer than " +
                                           std::to_string((deadline.count() + 999) / 1000) +
                                           " s and was stopped");
  return result;
}

bool PlayEnhMetaFileRecord(TGdiDC& dc, THandleTable& table, const TEmfRecord& record, unsigned) {
  TPlayContext ctx{dc, table};
  ByteView rec = record.Data;
  uint32_t type = record.Type;
  try {
    if (type == EMR_GDICOMMENT) {
      // The EMF+ records of a comment are played before it (see EnumEnhMetaFile); their trouble is its.
      const std::string trouble = dc.TakeOverLimit();
      if (trouble.empty()) return true;
      SetLastErrorMessage(ERROR_INVALID_DATA, RecordPlace(record) + ": " + trouble);
      return false;
    }
    if (type == EMR_HEADER || type == EMR_EOF) return true;
    PlayStateRecord(ctx, type, rec) || PlayObjectRecord(ctx, type, rec) || PlayClipRecord(ctx, type, rec) ||
        PlayShapeRecord(ctx, type, rec) || PlayPathRecord(ctx, type, rec) || PlayTextRecord(ctx, type, rec) ||
        PlayBitmapRecord(ctx, type, rec);
    // A record over the page's limits was drawn simplified or not at all: it counts as a malformed one.
    std::string overLimit = dc.TakeOverLimit();
    if (!overLimit.empty()) {
      SetLastErrorMessage(ERROR_INVALID_DATA, RecordPlace(record) + ": " + overLimit);
      return false;
    }
    return true; // records this player does not draw are passed over, as unknown records are by the host
  } catch (const EBadRecord& e) {
    dc.TakeOverLimit();
    SetLastErrorMessage(e.Code, RecordPlace(record) + ": " + e.Message());
  } catch (const EDamagedData& e) {
    dc.TakeOverLimit();
    SetLastErrorMessage(ERROR_INVALID_DATA, RecordPlace(record) + ": " + e.Message());
  }
  return false;
}

bool PlayEnhMetaFile(TGdiDC& dc, const TMetafile& metafile, const TEmfRect& rect) {
  bool allPlayed = true;
  uint32_t firstError = 0;
  std::string firstMessage;
  bool complete = EnumEnhMetaFile(
      dc, metafile,
      [&](TGdiDC& d, THandleTable& table, const TEmfRecord& record, int count, void*) {
        if (!PlayEnhMetaFileRecord(d, table, record, static_cast<unsigned>(count)) && allPlayed) {
          allPlayed = false;
          firstError = GetLastError();
          firstMessage = GetLastErrorMessage();
        }
        return 1;
      },
      nullptr, rect);
  if (complete && !allPlayed) SetLastErrorMessage(firstError, firstMessage);
  return complete && allPlayed;
}

bool StretchDrawMetafile(QPainter& painter, const TEmfRect& rect, const TMetafile& metafile) {
  TGdiDC dc(painter);
  TEmfRect inclusive{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
  return PlayEnhMetaFile(dc, metafile, inclusive);
}
