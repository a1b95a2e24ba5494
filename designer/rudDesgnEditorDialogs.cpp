// The small windows the property editors open: a record's properties,
// the lines of a string list, a picture from a file.

#include "designer/rudDesgnEditorDialogs.h"

#include "base/Errors.h"
#include "base/UserInterface.h"
#include "designer/rudDsgnIntf.h"
#include "report/model/rudClassRegistry.h"
#include "report/model/rudPicture.h"
#include "report/model/rudRes.h"
#include "report/render/rudPreviewDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

std::unique_ptr<TfrxPersistent> rudClonePersistent(const TfrxPersistent &Source)
{
    const TfrxClassEntry entry = rudFindClass(QString::fromLatin1(Source.metaObject()->className()));
    if (!entry.New)
        return nullptr;
    std::unique_ptr<QObject> made(entry.New());
    auto *copy = dynamic_cast<TfrxPersistent *>(made.get());
    if (!copy)
        return nullptr;
    made.release();
    copy->AssignFrom(Source);
    return std::unique_ptr<TfrxPersistent>(copy);
}

// ---- TfrxPersistentDialog

// One control of the form and the editor that converts its value.
struct TfrxPersistentDialog::TRow {
    std::unique_ptr<TfrxPropertyEditor> Editor;
    QLineEdit *Edit = nullptr;
    QComboBox *Combo = nullptr;
    QCheckBox *Check = nullptr;
    std::vector<std::pair<QCheckBox *, qint64>> Elements; // set elements
};

TfrxPersistentDialog::TfrxPersistentDialog(const QString &Caption, std::unique_ptr<TfrxPersistent> Copy,
                                           TfrxCustomDesigner *Designer, QWidget *Parent)
    : QDialog(Parent), FCopy(std::move(Copy)), FDesigner(Designer)
{
    setWindowTitle(Caption);
    FLayout = new QVBoxLayout(this);
    BuildForm();
    FLayout->addWidget(rudOkCancelButtons(this));
}

TfrxPersistentDialog::~TfrxPersistentDialog() = default;

void TfrxPersistentDialog::BuildForm()
{
    FRows.clear();
    delete FForm;
    FForm = new QWidget(this);
    auto *form = new QFormLayout(FForm);
    form->setContentsMargins(0, 0, 0, 0);
    for (const TfrxPropInfo &prop : rudGetPropList(FCopy.get())) {
        if (!prop.IsWritable() || prop.Kind == TfrxPropKind::Object || prop.Kind == TfrxPropKind::Component ||
            prop.Kind == TfrxPropKind::StringList || prop.Kind == TfrxPropKind::WideStringList)
            continue;
        std::unique_ptr<TfrxPropertyEditor> editor = rudCreatePropertyEditor(FCopy.get(), prop, FDesigner);
        if (!editor || (editor->GetAttributes() & paDialog))
            continue;
        auto row = std::make_unique<TRow>();
        QWidget *control = nullptr;
        if (prop.Kind == TfrxPropKind::Boolean) {
            row->Check = new QCheckBox(FForm);
            row->Check->setChecked(editor->GetOrdValue() != 0);
            control = row->Check;
        } else if (prop.Kind == TfrxPropKind::Set) {
            auto *box = new QWidget(FForm);
            auto *boxLayout = new QHBoxLayout(box);
            boxLayout->setContentsMargins(0, 0, 0, 0);
            const QMetaEnum e = prop.Enumerator();
            const qint64 value = editor->GetOrdValue();
            for (int i = 0; i < e.keyCount(); ++i) {
                if (e.value(i) == 0)
                    continue;
                auto *check = new QCheckBox(QString::fromLatin1(e.key(i)), box);
                check->setObjectName(QString::fromLatin1(e.key(i)));
                check->setChecked((value & e.value(i)) == e.value(i));
                boxLayout->addWidget(check);
                row->Elements.emplace_back(check, e.value(i));
            }
            control = box;
        } else if (editor->GetAttributes() & paValueList) {
            row->Combo = new QComboBox(FForm);
            row->Combo->setEditable(true);
            row->Combo->addItems(editor->ValueList());
            row->Combo->setCurrentText(editor->GetValue());
            control = row->Combo;
        } else {
            row->Edit = new QLineEdit(editor->GetValue(), FForm);
            control = row->Edit;
        }
        control->setObjectName(prop.Name);
        form->addRow(prop.Name, control);
        row->Editor = std::move(editor);
        FRows.push_back(std::move(row));
    }
    FLayout->insertWidget(FKindCB ? 1 : 0, FForm);
}

void TfrxPersistentDialog::SetKinds(const QStringList &Names, int Current,
                                   std::function<std::unique_ptr<TfrxPersistent>(int Index)> Make)
{
    FMake = std::move(Make);
    if (!FKindCB) {
        FKindCB = new QComboBox(this);
        FKindCB->setObjectName(QStringLiteral("KindCB"));
        FLayout->insertWidget(0, FKindCB);
        connect(FKindCB, &QComboBox::currentIndexChanged, this, &TfrxPersistentDialog::KindChanged);
    }
    const QSignalBlocker blocker(FKindCB);
    FKindCB->clear();
    FKindCB->addItems(Names);
    FKindCB->setCurrentIndex(Current);
}

void TfrxPersistentDialog::KindChanged(int Index)
{
    if (!FMake || Index < 0)
        return;
    std::unique_ptr<TfrxPersistent> next = FMake(Index);
    if (!next)
        return;
    // What the kinds share (none for fills) goes across.
    next->AssignFrom(*FCopy);
    FCopy = std::move(next);
    BuildForm();
}

void TfrxPersistentDialog::Apply()
{
    for (const auto &row : FRows) {
        TfrxPropertyEditor &editor = *row->Editor;
        if (row->Check) {
            if (row->Check->isChecked() != (editor.GetOrdValue() != 0))
                editor.SetOrdValue(row->Check->isChecked() ? 1 : 0);
        } else if (!row->Elements.empty()) {
            qint64 value = editor.GetOrdValue();
            for (const auto &[check, element] : row->Elements)
                value = check->isChecked() ? value | element : value & ~element;
            if (value != editor.GetOrdValue())
                editor.SetOrdValue(value);
        } else {
            const QString text = row->Combo ? row->Combo->currentText() : row->Edit->text();
            if (text != editor.GetValue())
                editor.SetValue(text);
        }
    }
}

// ---- TfrxStringsDialog

TfrxStringsDialog::TfrxStringsDialog(const QString &Caption, const QStringList &Lines, QWidget *Parent)
    : QDialog(Parent)
{
    setWindowTitle(Caption);
    auto *layout = new QVBoxLayout(this);
    FText = new QPlainTextEdit(this);
    FText->setObjectName(QStringLiteral("TextM"));
    FText->setLineWrapMode(QPlainTextEdit::NoWrap);
    FText->setPlainText(Lines.join(QLatin1Char('\n')));
    layout->addWidget(FText);
    layout->addWidget(rudOkCancelButtons(this));
    resize(400, 300);
}

QStringList TfrxStringsDialog::Lines() const
{
    const QString text = FText->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

// ---- TfrxPictureDialog

TfrxPictureDialog::TfrxPictureDialog(const TfrxPicture &Picture, QWidget *Parent)
    : QDialog(Parent), FPicture(std::make_unique<TfrxPicture>())
{
    FPicture->Assign(Picture);
    setWindowTitle(QStringLiteral("Picture"));
    auto *layout = new QVBoxLayout(this);
    FPreview = new QLabel(this);
    FPreview->setObjectName(QStringLiteral("PreviewL"));
    FPreview->setAlignment(Qt::AlignCenter);
    FPreview->setMinimumSize(240, 240);
    FPreview->setFrameShape(QFrame::Box);
    layout->addWidget(FPreview);
    FSize = new QLabel(this);
    FSize->setObjectName(QStringLiteral("SizeL"));
    layout->addWidget(FSize);
    auto *buttons = new QHBoxLayout;
    auto *load = new QPushButton(QStringLiteral("Load..."), this);
    load->setObjectName(QStringLiteral("LoadB"));
    auto *clear = new QPushButton(QStringLiteral("Clear"), this);
    clear->setObjectName(QStringLiteral("ClearB"));
    buttons->addWidget(load);
    buttons->addWidget(clear);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addWidget(rudOkCancelButtons(this));
    connect(load, &QPushButton::clicked, this, [this] { LoadPicture(); });
    connect(clear, &QPushButton::clicked, this, &TfrxPictureDialog::ClearPicture);
    UpdatePreview();
}

TfrxPictureDialog::~TfrxPictureDialog() = default;

bool TfrxPictureDialog::LoadPicture()
{
    TFileDialogOptions options;
    options.Filter = QStringLiteral("Pictures (*.bmp;*.png;*.jpg;*.jpeg;*.ico;*.emf;*.wmf)|"
                                    "*.bmp;*.png;*.jpg;*.jpeg;*.ico;*.emf;*.wmf|All files (*.*)|*.*");
    const std::optional<TFileDialogResult> chosen = userInterface().OpenFile(options);
    if (!chosen)
        return false;
    // The file is read into a picture of its own, so that a failed read
    // leaves the picture shown as it was.
    TfrxPicture loaded;
    try {
        loaded.LoadFromFile(chosen->FileName);
    } catch (const Exception &e) {
        userInterface().MessageBox(e.Message(), rudResources().Get(QStringLiteral("mbError")), TMsgIcon::Error,
                                   TMsgButtons::Ok);
        return false;
    }
    FPicture->Assign(loaded);
    UpdatePreview();
    return true;
}

void TfrxPictureDialog::ClearPicture()
{
    FPicture->Clear();
    UpdatePreview();
}

void TfrxPictureDialog::UpdatePreview()
{
    const bool image = FPicture->HasImage() && FPicture->Graphic() && !FPicture->Graphic()->Image().isNull();
    // A metafile has a size but no pixels to preview.
    if (image)
        FPreview->setPixmap(QPixmap::fromImage(FPicture->Graphic()->Image())
                                .scaled(FPreview->minimumSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        FPreview->setText(FPicture->HasImage() ? QStringLiteral("(Metafile)") : QStringLiteral("(None)"));
    FSize->setText(FPicture->HasImage() ? QStringLiteral("%1 x %2").arg(FPicture->Width()).arg(FPicture->Height())
                                        : QString());
}
