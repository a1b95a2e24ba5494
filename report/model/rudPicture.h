#pragma once
// The picture record of picture objects and of the report's icon: one
// graphic (or none), written into templates as PropData.

#include "report/model/rudGraphic.h"
#include "report/model/rudPersistent.h"

#include <QIODevice>
#include <functional>
#include <memory>

// The platform's invalid-argument result, returned when no picture format is
// recognised in a stream.
inline constexpr int E_INVALIDARG = int(0x80070057u);

// A picture: holds one shared, immutable graphic. Its PropData is the binary
// property stream of one property "Data": the graphic's class name as a
// length-prefixed byte string followed by the graphic's data. PropData read
// from a template is kept and written back byte for byte until the graphic
// changes.
class TfrxPicture : public TfrxPersistent {
    Q_OBJECT
public:
    TfrxPicture() = default;

    // Copies Source's graphic and kept PropData, then calls OnChange.
    void Assign(const TfrxPicture &Source);
    // The graphic, or nullptr when the picture holds none.
    const std::shared_ptr<const TfrxGraphic> &Graphic() const { return FGraphic; }
    // Replaces the graphic (nullptr clears it) and calls OnChange.
    void SetGraphic(std::shared_ptr<const TfrxGraphic> Value);
    // Drops the graphic and calls OnChange.
    void Clear() { SetGraphic(nullptr); }
    // True when there is a graphic with a size to show.
    bool HasImage() const { return FGraphic && !FGraphic->Empty(); }
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // Loads the named file, its format chosen by its extension (by its bytes
    // when the extension names none). Throws EInOutError when the file is not
    // a regular file, cannot be read or is larger than rudMaxPictureFileSize,
    // and EGeneralError when it is no decodable picture.
    void LoadFromFile(const QString &FileName);
    // Writes the graphic's native file bytes (nothing without a graphic).
    void SaveToStream(QIODevice *Stream) const;

    QByteArray GetPropData() const override;
    // Replays PropData. Bytes that do not form a picture are still kept, so
    // that they are written back as they came (the template loader reports
    // them as damaged).
    void SetPropData(const QByteArray &Data) override;
    // PropData that forms no picture is kept and reported as damaged.
    bool ReadUnpublished(QStringView Name, const QString &Value) override;

    // Called after every change of the graphic.
    std::function<void()> OnChange;

private:
    std::shared_ptr<const TfrxGraphic> FGraphic;
    QByteArray FPropData; // as read from a template; empty once the graphic changes
};

// Reads a picture from Stream, from its start when ResetStreamPos, else from
// its current position, to its end. An 8-byte database image header that
// announces exactly the bytes after it is skipped; then the format is
// recognised (rudDetectGraphicKind) and decoded into Picture. Returns 0, or
// E_INVALIDARG with Picture cleared when no format is recognised; Kind, when
// given, receives the format. Throws EGeneralError (Picture cleared) when
// the bytes of a recognised format cannot be decoded.
int rudLoadPictureFromStream(TfrxPicture &Picture, QIODevice *Stream, bool ResetStreamPos,
                             TfrxGraphicKind *Kind = nullptr);
