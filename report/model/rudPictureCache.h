#pragma once
// The picture cache of prepared pages: every image of the prepared report
// stored once, numbered from 1, kept in memory or in temporary files and
// written to prepared-report files as a list of hexadecimal "item" elements.

#include "report/model/rudPicture.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TfrxXMLItem;
class TfrxPictureView;

// Images in append-only segments. An entry is a segment number and a byte
// offset; its bytes run to the next entry of the same segment or to the
// segment's end. A segment is an in-memory stream or, with UseFileCache, a
// temporary file that is deleted when the cache is cleared or destroyed.
class TfrxPictureCache {
public:
    // A new segment is begun once the last one is larger than this.
    static constexpr qint64 DefaultSegmentLimit = 1789569705;

    TfrxPictureCache();
    TfrxPictureCache(const TfrxPictureCache &) = delete;
    TfrxPictureCache &operator=(const TfrxPictureCache &) = delete;
    ~TfrxPictureCache();

    // Frees every segment (deleting its temporary file) and every entry.
    void Clear();
    // Appends Picture's graphic in its native file format and returns its
    // number (entries + 1); 0, with nothing stored, when there is no graphic.
    // Throws EInOutError when a temporary file cannot be made or written.
    int AddPicture(const TfrxPicture &Picture);
    // Sets the object's ImageIndex from AddPicture of its picture.
    void AddPicture(TfrxPictureView *Picture);
    // Reads entry ImageIndex into Picture; clears Picture when ImageIndex is
    // 0 or beyond the entries. Throws EGeneralError when the stored bytes are
    // not a decodable picture.
    void GetPicture(int ImageIndex, TfrxPicture &Picture) const;
    // Reads the entry the object's ImageIndex names into the object.
    void GetPicture(TfrxPictureView *Picture) const;
    // The stored bytes of entry ImageIndex (empty when there is none).
    QByteArray EntryBytes(int ImageIndex) const;

    // Replaces Item's children by one "item" per entry, in entry order, whose
    // "stream" attribute holds the entry's bytes as upper-case hexadecimal.
    void SaveToXML(TfrxXMLItem *Item) const;
    // Clears the cache, then appends one entry per child of Item from its
    // "stream" attribute.
    void LoadFromXML(TfrxXMLItem *Item);

    // Number of entries.
    int Count() const { return int(FItems.size()); }
    int SegmentCount() const { return int(FSegments.size()); }
    // Names of the segments' temporary files (UseFileCache only).
    QStringList TempFile() const;

    bool UseFileCache() const { return FUseFileCache; }
    // Ignored while the cache holds segments.
    void SetUseFileCache(bool Value);
    const QString &TempDir() const { return FTempDir; }
    // Folder of the temporary files ("" for the system's); ignored while the
    // cache holds segments. Whether it exists is found out on first use.
    void SetTempDir(const QString &Value);
    qint64 SegmentLimit() const { return FSegmentLimit; }
    // Changes the segment size limit (small limits let tests span segments).
    void SetSegmentLimit(qint64 Value) { FSegmentLimit = Value; }

private:
    struct TSegment {
        std::unique_ptr<QIODevice> Stream;
        QString FileName;
    };
    struct TEntry {
        int Segment;
        qint64 Offset;
    };

    // Starts an entry at the end of the last segment (a new segment when
    // there is none or the last is over the limit); returns that segment.
    QIODevice *StartEntry();
    void AddSegment();
    static void Append(QIODevice *Stream, const QByteArray &Bytes);

    std::vector<TSegment> FSegments;
    std::vector<TEntry> FItems;
    bool FUseFileCache = false;
    QString FTempDir;
    qint64 FSegmentLimit = DefaultSegmentLimit;
};
