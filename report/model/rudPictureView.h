#pragma once
// The picture object: an image placed by the designer, loaded from a file
// named by an expression, or taken from a binary data field.

#include "report/model/rudPicture.h"
#include "report/model/rudView.h"

#include <QRect>
#include <optional>

class TfrxPictureView;

// What picture objects need from the preparation engine, which lives in a
// room above this one and offers its implementation as one of the report's
// services (rudServices.h).
class TfrxPictureEngine {
public:
    virtual ~TfrxPictureEngine() = default;
    // Text with its bracketed expressions expanded for Sender.
    virtual QString ExpandExpressions(TfrxPictureView *Sender, const QString &Text) = 0;
    // The bytes of the binary data field Sender is bound to; nullopt when it
    // is bound to none or to a field that is not binary.
    virtual std::optional<QByteArray> BinaryFieldData(TfrxPictureView *Sender) = 0;
    // Numbers Sender's image in the picture cache of the report's prepared
    // pages, setting its ImageIndex.
    virtual void AddPicture(TfrxPictureView *Sender) = 0;
};


// A view that shows one picture, stretched (keeping its aspect ratio when
// asked) or at its own size, optionally centred.
class TfrxPictureView : public TfrxView {
    Q_OBJECT
    Q_PROPERTY(int Cursor READ Cursor WRITE SetCursor)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TfrxComponent *DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataSetName READ DataSetName WRITE SetDataSetName)
    Q_PROPERTY(TfrxFrame *Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(rudEnums::TfrxFillType FillType READ FillType WRITE SetFillType)
    Q_PROPERTY(TfrxCustomFill *Fill READ Fill WRITE SetFill)
    Q_PROPERTY(QString FileLink READ FileLink WRITE SetFileLink)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(bool KeepAspectRatio READ KeepAspectRatio WRITE SetKeepAspectRatio)
    Q_PROPERTY(TfrxPicture *Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)
    Q_PROPERTY(QString TagStr READ TagStr WRITE SetTagStr)
    Q_PROPERTY(QString URL READ URL WRITE SetURL STORED false)
    Q_PROPERTY(bool HightQuality READ HightQuality WRITE SetHightQuality)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(int TransparentColor READ TransparentColor WRITE SetTransparentColor)
public:
    explicit TfrxPictureView(TfrxComponent *AOwner);
    ~TfrxPictureView() override;
    static TfrxPropDescs PropDescs();

    bool AutoSize() const { return FAutoSize; }
    // True with an image: the object takes the image's size in pixels.
    void SetAutoSize(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value) { FCenter = Value; }
    const QString &FileLink() const { return FFileLink; }
    void SetFileLink(const QString &Value) { FFileLink = Value; }
    // Number of the image in the prepared pages' picture cache, 0 for none.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    bool KeepAspectRatio() const { return FKeepAspectRatio; }
    void SetKeepAspectRatio(bool Value) { FKeepAspectRatio = Value; }
    TfrxPicture *Picture() const { return FPicture.get(); }
    // Copies Value's image.
    void SetPicture(TfrxPicture *Value);
    bool Stretched() const { return FStretched; }
    void SetStretched(bool Value) { FStretched = Value; }
    bool HightQuality() const { return FHightQuality; }
    void SetHightQuality(bool Value) { FHightQuality = Value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor Value) { FTransparentColor = Value; }

    // Whether templates carry the image (set from construction) and the
    // image number (set for objects on prepared pages).
    bool IsPictureStored() const { return FIsPictureStored; }
    void SetIsPictureStored(bool Value) { FIsPictureStored = Value; }
    bool IsImageIndexStored() const { return FIsImageIndexStored; }
    void SetIsImageIndexStored(bool Value) { FIsImageIndexStored = Value; }
    // Set whenever the image changes; cleared once the image has been
    // handed to the picture cache.
    bool PictureChanged() const { return FPictureChanged; }
    void SetPictureChanged(bool Value) { FPictureChanged = Value; }

    // Reads the image from Stream by its format (rudLoadPictureFromStream);
    // 0, or E_INVALIDARG with the image cleared when no format is recognised.
    int LoadPictureFromStream(QIODevice *Stream, bool ResetStreamPos = true);
    // Called by the engine before the object is printed: loads the image
    // from FileLink (expanded when it holds "[") or, failing a link, from the
    // bound binary data field. A link naming no existing file clears the image.
    void GetData() override;
    // The picture's part of the differences against the source copy, which
    // follows the view's part: hands a changed image to the picture cache
    // first, then ImageIndex (always), Transparent (when set) and
    // TransparentColor (when not white).
    QString DiffPicturePart(TfrxComponent *AComponent);
    // The view part followed by the picture part.
    QString Diff(TfrxComponent *AComponent) override;

    // The device rectangle a stretched image is drawn into: Rect itself, or
    // with KeepAspectRatio the largest rectangle of the image's proportions
    // at Rect's top-left corner, moved to the middle of Rect when Center.
    static QRect StretchedImageRect(const QRect &Rect, QSize ImageSize, bool KeepAspectRatio, bool Center);
    // Where an image drawn at its own size times the scale factors starts:
    // Rect's top-left corner, moved by half the spare room when Center.
    static QPoint UnstretchedImageOrigin(const QRect &Rect, QSize ImageSize, double ScaleX, double ScaleY,
                                         bool Center);

private:
    void OnPictureChanged();

    std::unique_ptr<TfrxPicture> FPicture;
    bool FAutoSize = false;
    bool FCenter = false;
    QString FFileLink;
    int FImageIndex = 0;
    bool FKeepAspectRatio = true;
    bool FStretched = true;
    bool FHightQuality = false;
    bool FTransparent = false;
    TColor FTransparentColor = clWhite;
    bool FIsPictureStored = true;
    bool FIsImageIndexStored = false;
    bool FPictureChanged = false;
};
