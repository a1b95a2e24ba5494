#include "report/model/rudPictureView.h"

#include "report/model/rudRes.h"
#include "report/model/rudServices.h"

#include <QBuffer>
#include <QFileInfo>
#include <cmath>

namespace {

TfrxPictureEngine &pictureEngine(const TfrxPictureView *view)
{
    return *rudNeedService(rudServicesOf(view).PictureEngine, "picture");
}

const TfrxPictureView *picture(const QObject *obj)
{
    return static_cast<const TfrxPictureView *>(obj);
}

bool pictureStored(const QObject *obj)
{
    return picture(obj)->IsPictureStored();
}

bool imageIndexStored(const QObject *obj)
{
    return picture(obj)->IsImageIndexStored();
}

// Round with halves to the even neighbour, as device rectangles are rounded.
int roundEven(double v)
{
    return int(std::nearbyint(v));
}

} // namespace

TfrxPictureView::TfrxPictureView(TfrxComponent *AOwner)
    : TfrxView(AOwner), FPicture(std::make_unique<TfrxPicture>())
{
    // Pictures always store their complete state on prepared pages.
    SetComponentStyle(csPreviewVisible);
    SetDescription(rudResources().Get(QStringLiteral("obPicture")));
    FPicture->OnChange = [this] { OnPictureChanged(); };
}

TfrxPictureView::~TfrxPictureView()
{
    FPicture->OnChange = nullptr;
}

TfrxPropDescs TfrxPictureView::PropDescs()
{
    TfrxPropDescs descs{{"Cursor", 0},
                        {"AutoSize", false},
                        {"Center", false},
                        {"FillType", int(ftBrush)},
                        {"ImageIndex", 0, &imageIndexStored},
                        {"KeepAspectRatio", true},
                        {"Picture", {}, &pictureStored},
                        {"Stretched", true}};
    rudAddTypeName(descs, "TCursor", {"Cursor"});
    rudAddTypeName(descs, "TColor", {"TransparentColor"});
    return descs;
}

void TfrxPictureView::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    if (FAutoSize && FPicture->HasImage()) {
        SetWidth(FPicture->Width());
        SetHeight(FPicture->Height());
    }
}

void TfrxPictureView::SetPicture(TfrxPicture *Value)
{
    if (Value)
        FPicture->Assign(*Value);
}

void TfrxPictureView::OnPictureChanged()
{
    SetAutoSize(FAutoSize);
    FPictureChanged = true;
}

int TfrxPictureView::LoadPictureFromStream(QIODevice *Stream, bool ResetStreamPos)
{
    return rudLoadPictureFromStream(*FPicture, Stream, ResetStreamPos);
}

void TfrxPictureView::GetData()
{
    if (!FFileLink.isEmpty()) {
        QString name = FFileLink;
        if (name.contains(u'['))
            name = pictureEngine(this).ExpandExpressions(this, name);
        if (QFileInfo(name).isFile())
            FPicture->LoadFromFile(name);
        else
            FPicture->Clear();
        return;
    }
    std::optional<QByteArray> bytes = pictureEngine(this).BinaryFieldData(this);
    if (!bytes)
        return;
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    LoadPictureFromStream(&buffer, true);
}

QString TfrxPictureView::DiffPicturePart(TfrxComponent *)
{
    if (FPictureChanged) {
        pictureEngine(this).AddPicture(this);
        FPictureChanged = false;
    }
    QString result = QStringLiteral(" ImageIndex=\"%1\"").arg(FImageIndex);
    if (FTransparent)
        result += QStringLiteral(" Transparent=\"1\"");
    if (FTransparentColor != clWhite)
        result += QStringLiteral(" TransparentColor=\"%1\"").arg(FTransparentColor);
    return result;
}

QRect TfrxPictureView::StretchedImageRect(const QRect &Rect, QSize ImageSize, bool KeepAspectRatio, bool Center)
{
    int left = Rect.x(), top = Rect.y();
    const int width = Rect.width(), height = Rect.height();
    int right = left + width, bottom = top + height;
    if (KeepAspectRatio && ImageSize.width() > 0 && ImageSize.height() > 0) {
        const double kx = double(width) / ImageSize.width();
        const double ky = double(height) / ImageSize.height();
        if (ky > kx)
            bottom = top + roundEven(ImageSize.height() * kx);
        else
            right = left + roundEven(ImageSize.width() * ky);
        if (Center) {
            const int dx = (width - (right - left)) / 2, dy = (height - (bottom - top)) / 2;
            left += dx;
            right += dx;
            top += dy;
            bottom += dy;
        }
    }
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

QPoint TfrxPictureView::UnstretchedImageOrigin(const QRect &Rect, QSize ImageSize, double ScaleX, double ScaleY,
                                               bool Center)
{
    if (!Center)
        return Rect.topLeft();
    const int scaledWidth = roundEven(ImageSize.width() * ScaleX);
    const int scaledHeight = roundEven(ImageSize.height() * ScaleY);
    return Rect.topLeft() + QPoint((Rect.width() - scaledWidth) / 2, (Rect.height() - scaledHeight) / 2);
}
