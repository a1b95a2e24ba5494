#pragma once
// The engine's string table and image lists. Every user-visible text of the
// report engine is looked up here by key (a name such as "clErrors" or a
// number such as "101"); the table starts with the built-in English texts and
// a language file can overlay them. The same object owns the toolbar, object
// and wizard images and opens the help file.

#include <QHash>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;
class QObject;

// Equally sized images, each with its transparency already applied (ARGB32).
class TfrxImageList {
public:
    TfrxImageList(int Width, int Height) : FWidth(Width), FHeight(Height) {}
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return int(FImages.size()); }
    const QImage &Image(int Index) const { return FImages.at(Index); }
    // Appends Image; pixels of MaskColor become transparent.
    void AddMasked(const QImage &Image, QRgb MaskColor);
    // Appends an image as it is (converted to ARGB32).
    void Add(const QImage &Image);
    void Clear() { FImages.clear(); }

private:
    int FWidth, FHeight;
    QList<QImage> FImages;
};

// Something that shows a two-state glyph (a speed button of the designer):
// the glyph holds NumGlyphs images side by side, enabled first.
class TfrxGlyphTarget {
public:
    virtual ~TfrxGlyphTarget() = default;
    virtual void SetGlyph(const QImage &Glyph, int NumGlyphs) = 0;
};

// The key/text pairs of the script engine's compile-error messages.
using TfrxFSMessages = QList<QPair<QString, QString>>;

// The process-wide string table and image lists; see the file comment.
class TfrxResources {
public:
    TfrxResources();
    TfrxResources(const TfrxResources &) = delete;
    TfrxResources &operator=(const TfrxResources &) = delete;
    ~TfrxResources();

    // The text of Key (any letter case); the key itself when unknown; a
    // leading "!" is dropped either way.
    QString Get(const QString &Key) const;
    // Adds an entry or replaces the text of an existing one in place.
    void AddW(const QString &Key, const QString &Value);
    void Add(const QString &Key, const QString &Value);
    // Adds every "key=value" line with a non-empty key and value.
    void AddStrings(const QString &Str);
    // Reads a UTF-8 resource document held in memory.
    void AddXML(const QByteArray &Str);
    // Reads a resource document (root "Resources", children "StrRes" with
    // Name and Text) and adds its entries; then refreshes the script messages.
    // Raises EConvertError for a missing or non-numeric CodePage.
    void LoadFromStream(QIODevice *Stream);
    // LoadFromStream of a file; nothing when the file does not exist.
    void LoadFromFile(const QString &FileName);
    // Removes every entry.
    void Clear();
    // Number of entries.
    int Count() const { return int(FValues.size()); }
    // The CodePage of the last loaded document (0 before any).
    int CodePage() const { return FCodePage; }

    // Refills Languages with the "*.frc" files of the program's folder.
    void BuildLanguagesList();
    // The languages of the program's folder, listed on the first call.
    const QStringList &Languages();

    // Copies the script engine's messages out of the table and hands them to
    // the handler, if one is set.
    void UpdateFSResources();
    // The script engine's messages as of the last refresh, in a fixed order.
    const TfrxFSMessages &FSMessages() const { return FFSMessages; }
    // Called by every refresh; the engine room forwards the messages to the
    // script engine with it (the script room does not depend on this one).
    void SetFSResourcesHandler(std::function<void(const TfrxFSMessages &)> Handler);

    const QString &HelpFile() const { return FHelpFile; }
    // The help path for a window or object class: the program's folder, the
    // help file and "::/" + topic page when the class has a topic.
    QString HelpPath(const QString &ClassName) const;
    // Opens the help file at the topic of Sender's class with the desktop's
    // handler; does nothing when the help file is missing. Returns whether
    // it was handed over.
    bool Help(const QObject *Sender);
    bool Help(const QString &ClassName);

    // The image lists, each loaded from its strip on first use.
    TfrxImageList &GetMainButtonImages();
    TfrxImageList &GetDisabledButtonImages();
    TfrxImageList &GetPreviewButtonImages();
    TfrxImageList &GetObjectImages();
    TfrxImageList &GetWizardImages();
    // Cut a strip into cells and append them (after clearing with Clear).
    void SetButtonImages(const QImage &Images, bool Clear = false);
    void SetPreviewButtonImages(const QImage &Images, bool Clear = false);
    void SetObjectImages(const QImage &Images, bool Clear = false);
    void SetWizardImages(const QImage &Images, bool Clear = false);
    // The 32 x 16 two-state glyph of main image Index: enabled left, grey right.
    QImage Glyph(int Index);
    void SetGlyph(TfrxGlyphTarget &Button, int Index);

private:
    void LoadStrip(TfrxImageList &List, const QString &Name, TfrxImageList *Disabled);

    QHash<QString, int> FNames;   // lower-cased key -> index into FValues
    QStringList FValues;
    QStringList FLanguages;
    bool FLanguagesListed = false;
    QString FHelpFile;
    int FCodePage = 0;
    TfrxFSMessages FFSMessages;
    std::function<void(const TfrxFSMessages &)> FFSHandler;
    TfrxImageList FMainButtonImages{16, 16};
    TfrxImageList FDisabledButtonImages{16, 16};
    TfrxImageList FPreviewButtonImages{16, 16};
    TfrxImageList FObjectImages{16, 16};
    TfrxImageList FWizardImages{32, 32};
};

// The single table, created on first use with the built-in English texts.
TfrxResources &rudResources();
// Get of the decimal text of ID.
QString rudGet(int ID);

// Unpacks a gzip member from Source to Dest with zlib; returns the original
// file name stored in the header ("" when none). Raises EGeneralError on
// damaged data.
QString rudDecompressStream(QIODevice *Source, QIODevice *Dest);
// Makes every pixel grey: q = (r + g + b) div 3, g = Round(q / 3) + 150, at most 255.
void rudMakeDisabledImage(QImage &Image);
// Cuts Bitmap into Width x Height cells, left to right and row by row, and
// adds each to List masked with its bottom-left pixel; with Disabled, a grey
// copy of each cell goes there too.
void rudAssignImages(const QImage &Bitmap, int Width, int Height, TfrxImageList &List,
                     TfrxImageList *Disabled = nullptr);
