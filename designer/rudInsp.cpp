// The object inspector window: the object combo, the tabs, the lists
// built from the selection, the edit box and applying typed values.

#include "designer/rudInsp.h"

#include "base/Errors.h"
#include "base/IniFile.h"
#include "base/UserInterface.h"
#include "designer/rudCustomDesigner.h"
#include "report/model/rudComponent.h"
#include "report/model/rudRes.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString settingsSection = QStringLiteral("Form5.TfrxObjectInspector");
constexpr int DefaultSplit1Pos = 65;

// Draws the entries of an owner-drawn editor's drop-down list.
class TValueListDelegate : public QStyledItemDelegate {
public:
    TValueListDelegate(TfrxPropertyEditor *Editor, QObject *Parent) : QStyledItemDelegate(Parent), FEditor(Editor) {}
    void paint(QPainter *Painter, const QStyleOptionViewItem &Option, const QModelIndex &Index) const override
    {
        if (Option.state & QStyle::State_Selected)
            Painter->fillRect(Option.rect, Option.palette.highlight());
        Painter->save();
        Painter->setPen(Option.palette.color(Option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                   : QPalette::Text));
        FEditor->OnDrawLBItem(*Painter, Index.row(), Option.rect);
        Painter->restore();
    }

private:
    TfrxPropertyEditor *FEditor;
};

} // namespace

// ---- TfrxObjectInspector

TfrxObjectInspector::TfrxObjectInspector(TfrxCustomDesigner *Owner, QWidget *Parent)
    : QWidget(Parent), FDesigner(Owner)
{
    if (!FDesigner)
        throw EGeneralError(QStringLiteral("The Owner of the object inspector should be TfrxCustomDesigner"));
    setWindowTitle(rudGet(2034));
    setObjectName(QStringLiteral("ObjectInspector"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    FObjectsCB = new QComboBox(this);
    FObjectsCB->setObjectName(QStringLiteral("ObjectsCB"));
    layout->addWidget(FObjectsCB);
    FTabs = new QTabBar(this);
    FTabs->setObjectName(QStringLiteral("TabsTS"));
    FTabs->setDocumentMode(true);
    FTabs->setDrawBase(false);
    FTabs->addTab(rudResources().Get(QStringLiteral("oiProp")));
    FTabs->addTab(rudResources().Get(QStringLiteral("oiEvent")));
    FTabs->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(FTabs);

    FSplitter = new QSplitter(Qt::Vertical, this);
    FSplitter->setChildrenCollapsible(false);
    FScroll = new QScrollArea(FSplitter);
    FScroll->setWidgetResizable(true);
    FScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FScroll->setFocusPolicy(Qt::NoFocus);
    FGrid = new TfrxInspectorGrid(this);
    FScroll->setWidget(FGrid);

    FEdit = new QLineEdit(FGrid);
    FEdit->setObjectName(QStringLiteral("EditE"));
    FEdit->setFrame(false);
    FEdit->hide();
    FEdit->installEventFilter(this);
    FDropButton = new QToolButton(FGrid);
    FDropButton->setObjectName(QStringLiteral("DropDownB"));
    FDropButton->setArrowType(Qt::DownArrow);
    FDropButton->setFocusPolicy(Qt::NoFocus);
    // The click that closes the open list must not open it again.
    FDropButton->setAttribute(Qt::WA_NoMouseReplay);
    FDropButton->hide();
    FDialogButton = new QToolButton(FGrid);
    FDialogButton->setObjectName(QStringLiteral("DialogB"));
    FDialogButton->setText(QStringLiteral("..."));
    FDialogButton->setFocusPolicy(Qt::NoFocus);
    FDialogButton->hide();

    auto *panel = new QWidget(FSplitter);
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(4, 2, 4, 2);
    FNameLabel = new QLabel(panel);
    FNameLabel->setObjectName(QStringLiteral("PropL"));
    QFont bold = FNameLabel->font();
    bold.setBold(true);
    FNameLabel->setFont(bold);
    FDescLabel = new QLabel(panel);
    FDescLabel->setObjectName(QStringLiteral("DescrL"));
    FDescLabel->setWordWrap(true);
    FDescLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    panelLayout->addWidget(FNameLabel);
    panelLayout->addWidget(FDescLabel, 1);
    panel->setMinimumHeight(10);
    FSplitter->addWidget(FScroll);
    FSplitter->addWidget(panel);
    FSplitter->setStretchFactor(0, 1);
    FSplitter->setStretchFactor(1, 0);
    layout->addWidget(FSplitter, 1);

    FRowHeight = fontMetrics().height() + 3;

    connect(FObjectsCB, &QComboBox::activated, this, &TfrxObjectInspector::ObjectChosen);
    connect(FTabs, &QTabBar::currentChanged, this, &TfrxObjectInspector::TabChanged);
    connect(FEdit, &QLineEdit::textEdited, this, [this] { FEditModified = true; });
    connect(FDropButton, &QToolButton::clicked, this, &TfrxObjectInspector::ShowValueList);
    connect(FDialogButton, &QToolButton::clicked, this, [this] {
        EditProperty();
        FEdit->setFocus();
    });
    connect(FSplitter, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = FSplitter->sizes();
        if (sizes.size() == 2)
            FSplit1Pos = sizes.at(1);
    });

    if (FDesigner->Report()) {
        const std::unique_ptr<TIniFile> ini = FDesigner->GetIniFile();
        FStoredSplitPos = ini->ReadInteger(settingsSection, QStringLiteral("SplitPos"), -1);
        FSplit1Pos = ini->ReadInteger(settingsSection, QStringLiteral("Split1Pos"), DefaultSplit1Pos);
    }
    if (FSplit1Pos < 10)
        FSplit1Pos = DefaultSplit1Pos;
}

TfrxObjectInspector::~TfrxObjectInspector()
{
    // The edit box goes with the window: nothing is applied any more.
    FEdit->removeEventFilter(this);
    FEditModified = false;
    // The rows refer to the lists; drop them first.
    FRows.clear();
}

void TfrxObjectInspector::ApplyStoredSplitPos()
{
    // Only the grid's real width tells where half of it is.
    const int width = FGrid->width();
    if (!isVisible() || width <= 0)
        return;
    if (FSplitPos < 0) {
        FSplitPos = FStoredSplitPos;
        if (FSplitPos < 0 || FSplitPos > width - 10)
            FSplitPos = width / 2;
    } else if (FSplitPos > width - 10) {
        FSplitPos = width / 2;
    }
    PlaceEditor();
    FGrid->update();
}

void TfrxObjectInspector::resizeEvent(QResizeEvent *Event)
{
    QWidget::resizeEvent(Event);
    if (!FSplit1Applied && height() > 0) {
        FSplit1Applied = true;
        SetSplit1Pos(FSplit1Pos);
    }
}

void TfrxObjectInspector::showEvent(QShowEvent *Event)
{
    QWidget::showEvent(Event);
    ApplyStoredSplitPos();
}

void TfrxObjectInspector::SetSplitPos(int Value)
{
    const int width = FGrid->width();
    if (width > 60)
        Value = qBound(31, Value, width - 31);
    FSplitPos = Value;
    PlaceEditor();
    FGrid->update();
}

void TfrxObjectInspector::SetSplit1Pos(int Value)
{
    FSplit1Pos = Value < 10 ? DefaultSplit1Pos : Value;
    const int total = FSplitter->height();
    if (total > FSplit1Pos)
        FSplitter->setSizes({total - FSplit1Pos, FSplit1Pos});
}

void TfrxObjectInspector::SaveSettings()
{
    if (!FDesigner->Report())
        return;
    try {
        const std::unique_ptr<TIniFile> ini = FDesigner->GetIniFile();
        if (FSplitPos >= 0)
            ini->WriteInteger(settingsSection, QStringLiteral("SplitPos"), FSplitPos);
        ini->WriteInteger(settingsSection, QStringLiteral("Split1Pos"), FSplit1Pos);
        ini->UpdateFile();
    } catch (const Exception &e) {
        // Settings that cannot be stored only cost the layout next time.
        FDesigner->SettingsFailed(e.Message(), true);
    }
}

// ---- The object combo

QString TfrxObjectInspector::ComboText(const TfrxComponent *Obj)
{
    return Obj->Name() + QStringLiteral(": ") + QString::fromLatin1(Obj->metaObject()->className());
}

void TfrxObjectInspector::UpdateObjects()
{
    const QSignalBlocker blocker(FObjectsCB);
    FObjectsCB->clear();
    FComboObjects.clear();
    for (TfrxComponent *obj : std::as_const(FDesigner->Objects())) {
        if (!obj)
            continue;
        FObjectsCB->addItem(ComboText(obj));
        FComboObjects.append(obj);
    }
    UpdateComboEntry();
}

void TfrxObjectInspector::UpdateComboEntry()
{
    const QSignalBlocker blocker(FObjectsCB);
    const QList<TfrxComponent *> &selection = FDesigner->Selection().Objects();
    int index = -1;
    if (selection.size() == 1 && selection.first())
        for (qsizetype i = 0; i < FComboObjects.size(); ++i)
            if (FComboObjects.at(i) == selection.first()) {
                index = int(i);
                FObjectsCB->setItemText(index, ComboText(selection.first()));
                break;
            }
    FObjectsCB->setCurrentIndex(index);
}

void TfrxObjectInspector::ObjectChosen(int Index)
{
    if (Index < 0 || Index >= FComboObjects.size() || !FComboObjects.at(Index))
        return;
    ApplyEdit();
    FDesigner->Selection().Assign({FComboObjects.at(Index).data()});
    UpdateSelection();
    FEdit->setFocus();
    FDesigner->Selection().Notify(this);
}

// ---- Lists and rows

TfrxPropertyList *TfrxObjectInspector::CurrentList() const
{
    return TabIndex() == 1 ? FEventList.get() : FPropertyList.get();
}

int TfrxObjectInspector::TabIndex() const
{
    return FTabs->currentIndex();
}

void TfrxObjectInspector::SetTabIndex(int Value)
{
    FTabs->setCurrentIndex(Value);
}

void TfrxObjectInspector::TabChanged(int)
{
    ApplyEdit();
    RebuildRows();
    const int row = FindRow(FLastPosition);
    const QString keep = FLastPosition;
    SetItemIndex(row >= 0 ? row : 0);
    if (row < 0)
        FLastPosition = keep;
}

void TfrxObjectInspector::UpdateSelection()
{
    // A value still being typed belongs to the objects selected before.
    FEditModified = false;
    RebuildLists();
    UpdateComboEntry();
}

void TfrxObjectInspector::RebuildLists()
{
    if (FPopup)
        FPopup->hide();
    FRows.clear();
    FEventList.reset();
    FPropertyList = rudCreatePropertyList(FDesigner->Selection().Objects(), FDesigner);
    if (FPropertyList)
        FEventList = FPropertyList->Extract([](TfrxPropertyItem &Item) {
            const TfrxPropInfo *prop = Item.Editor->PropInfo();
            return prop && rudIsEventType(prop->TypeName);
        });
    RebuildRows();
    const QString keep = FLastPosition;
    const int row = FindRow(FLastPosition);
    FItemIndex = -1;
    SetItemIndex(row >= 0 ? row : 0);
    if (row < 0)
        FLastPosition = keep;
}

void TfrxObjectInspector::AddRows(TfrxPropertyList &List, int Level, const QString &Prefix)
{
    for (int i = 0; i < List.Count(); ++i) {
        TfrxPropertyItem &item = List.Items(i);
        item.Editor->SetItemHeight(FRowHeight);
        const QString path = Prefix.isEmpty() ? item.Editor->GetName() : Prefix + QLatin1Char('.') + item.Editor->GetName();
        item.Expanded = item.SubProperty && FExpanded.contains(path.toLower());
        FRows.push_back({&item, Level, path});
        if (item.Expanded)
            AddRows(*item.SubProperty, Level + 1, path);
    }
}

void TfrxObjectInspector::RebuildRows()
{
    FRows.clear();
    if (TfrxPropertyList *list = CurrentList())
        AddRows(*list, 0, QString());
    FGrid->setMinimumHeight(RowCount() * FRowHeight);
    FGrid->updateGeometry();
    FGrid->update();
}

TfrxPropertyEditor *TfrxObjectInspector::RowEditor(int Index) const
{
    return Index >= 0 && Index < RowCount() ? FRows[size_t(Index)].Item->Editor.get() : nullptr;
}

QString TfrxObjectInspector::RowName(int Index) const
{
    TfrxPropertyEditor *editor = RowEditor(Index);
    return editor ? editor->GetName() : QString();
}

QString TfrxObjectInspector::RowValue(int Index) const
{
    return SafeValue(RowEditor(Index));
}

int TfrxObjectInspector::RowLevel(int Index) const
{
    return Index >= 0 && Index < RowCount() ? FRows[size_t(Index)].Level : 0;
}

QString TfrxObjectInspector::RowPath(int Index) const
{
    return Index >= 0 && Index < RowCount() ? FRows[size_t(Index)].Path : QString();
}

bool TfrxObjectInspector::RowExpanded(int Index) const
{
    return Index >= 0 && Index < RowCount() && FRows[size_t(Index)].Item->Expanded;
}

bool TfrxObjectInspector::RowHasSubProperties(int Index) const
{
    return Index >= 0 && Index < RowCount() && FRows[size_t(Index)].Item->SubProperty &&
           FRows[size_t(Index)].Item->SubProperty->Count() > 0;
}

int TfrxObjectInspector::FindRow(const QString &Path) const
{
    if (Path.isEmpty())
        return -1;
    for (int i = 0; i < RowCount(); ++i)
        if (FRows[size_t(i)].Path.compare(Path, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TfrxObjectInspector::ToggleRow(int Index)
{
    if (!RowHasSubProperties(Index))
        return;
    const QString path = RowPath(Index).toLower();
    if (FExpanded.contains(path))
        FExpanded.remove(path);
    else
        FExpanded.insert(path);
    const QString focused = FItemIndex >= 0 ? RowPath(FItemIndex) : QString();
    RebuildRows();
    // The focused row stays focused; a focused sub-row that was folded away
    // gives the focus to the row that folded.
    int row = FindRow(focused);
    if (row < 0)
        row = Index;
    FItemIndex = row;
    UpdateEditor();
}

QString TfrxObjectInspector::SafeValue(TfrxPropertyEditor *Editor) const
{
    if (!Editor)
        return QString();
    // A getter that fails shows why in place of the value: the row is
    // painted often, so a message box is no place for it.
    try {
        return Editor->GetValue();
    } catch (const std::exception &e) {
        return QStringLiteral("(ошибка: %1)").arg(QString::fromUtf8(e.what()));
    }
}

// ---- Focus and editing

void TfrxObjectInspector::SetItemIndex(int Value)
{
    if (RowCount() == 0) {
        FItemIndex = -1;
        UpdateEditor();
        return;
    }
    Value = qBound(0, Value, RowCount() - 1);
    if (FEditModified && FItemIndex >= 0) {
        const QString target = RowPath(Value);
        ApplyEdit();
        // Applying rebuilds the rows; the target is found again by its path.
        const int row = FindRow(target);
        Value = row >= 0 ? row : qBound(0, Value, RowCount() - 1);
        if (RowCount() == 0)
            return;
    }
    FItemIndex = Value;
    FLastPosition = RowPath(Value);
    UpdateEditor();
    ScrollToItem();
}

void TfrxObjectInspector::UpdateEditor()
{
    TfrxPropertyEditor *editor = RowEditor(FItemIndex);
    if (!editor) {
        FEdit->hide();
        FDropButton->hide();
        FDialogButton->hide();
        FNameLabel->clear();
        FDescLabel->clear();
        FGrid->update();
        return;
    }
    const TfrxPropertyAttributes attributes = editor->GetAttributes();
    FEditText = SafeValue(editor);
    FEdit->setText(FEditText);
    FEdit->setCursorPosition(0); // a long value shows its beginning
    FEdit->setReadOnly(attributes & paReadOnly);
    FEditModified = false;
    FDropButton->setVisible(attributes & paValueList);
    FDialogButton->setVisible(attributes & paDialog);
    FEdit->show();
    PlaceEditor();

    const QString name = editor->GetName();
    FNameLabel->setText(name);
    QString text;
    if (QObject *owner = editor->Component()) {
        const QString key = QStringLiteral("prop") + name + QLatin1Char('.') + QLatin1String(owner->metaObject()->className());
        text = rudResources().Get(key);
        if (text == key)
            text.clear();
    }
    if (text.isEmpty()) {
        const QString key = QStringLiteral("prop") + name;
        text = rudResources().Get(key);
        if (text == key)
            text.clear();
    }
    FDescLabel->setText(text);
    FGrid->update();
}

void TfrxObjectInspector::PlaceEditor()
{
    if (FItemIndex < 0 || FItemIndex >= RowCount() || FSplitPos < 0)
        return;
    const QRect value = FGrid->ValueRect(FItemIndex);
    int right = value.right() + 1;
    const int button = FRowHeight - 1;
    if (FDialogButton->isVisibleTo(FGrid)) {
        right -= button;
        FDialogButton->setGeometry(right, value.top(), button, value.height());
    }
    if (FDropButton->isVisibleTo(FGrid)) {
        right -= button;
        FDropButton->setGeometry(right, value.top(), button, value.height());
    }
    FEdit->setGeometry(value.left(), value.top(), qMax(1, right - value.left()), value.height());
}

void TfrxObjectInspector::ScrollToItem()
{
    if (FItemIndex >= 0)
        FScroll->ensureVisible(0, FItemIndex * FRowHeight + FRowHeight / 2, 0, FRowHeight);
}

void TfrxObjectInspector::ShowError(const QString &Message)
{
    userInterface().MessageBox(Message, rudResources().Get(QStringLiteral("mbError")), TMsgIcon::Error,
                               TMsgButtons::Ok);
}

void TfrxObjectInspector::ApplyEdit()
{
    if (!FEditModified || FApplying)
        return;
    TfrxPropertyEditor *editor = RowEditor(FItemIndex);
    FEditModified = false;
    if (!editor)
        return;
    FApplying = true;
    const QString text = FEdit->text();
    QString error;
    try {
        editor->SetValue(text);
    } catch (const Exception &e) {
        error = e.Message();
    } catch (const std::exception &e) {
        error = QString::fromUtf8(e.what());
    }
    FApplying = false;
    if (!error.isNull()) {
        ShowError(error);
        FEditText = SafeValue(editor);
        FEdit->setText(FEditText);
        FEdit->selectAll();
        FGrid->update();
        return;
    }
    ValueChanged();
}

void TfrxObjectInspector::CommitEdit()
{
    ApplyEdit();
}

void TfrxObjectInspector::ValueChanged()
{
    UpdateComboEntry();
    // The lists are built again: a change may replace sub-objects (a fill of
    // another kind) or the rows an object has.
    RebuildLists();
    FDesigner->SetModified(true, this);
}

bool TfrxObjectInspector::EditProperty()
{
    ApplyEdit();
    TfrxPropertyEditor *editor = RowEditor(FItemIndex);
    if (!editor)
        return false;
    bool changed = false;
    QString error;
    try {
        changed = editor->Edit();
    } catch (const Exception &e) {
        error = e.Message();
    } catch (const std::exception &e) {
        error = QString::fromUtf8(e.what());
    }
    if (!error.isNull()) {
        ShowError(error);
        UpdateEditor();
        return false;
    }
    if (changed)
        ValueChanged();
    return changed;
}

void TfrxObjectInspector::UpdateProperties()
{
    if (FDesigner->InspectorLocked())
        return;
    UpdateComboEntry();
    if (!FEditModified) {
        TfrxPropertyEditor *editor = RowEditor(FItemIndex);
        FEditText = SafeValue(editor);
        FEdit->setText(FEditText);
    }
    FGrid->update();
}

QString TfrxObjectInspector::DescriptionName() const
{
    return FNameLabel->text();
}

QString TfrxObjectInspector::DescriptionText() const
{
    return FDescLabel->text();
}

// ---- The drop-down list

void TfrxObjectInspector::ShowValueList()
{
    if (FPopup && FPopup->isVisible()) {
        FPopup->hide();
        return;
    }
    TfrxPropertyEditor *editor = RowEditor(FItemIndex);
    if (!editor || !(editor->GetAttributes() & paValueList))
        return;
    const QStringList values = editor->ValueList();
    if (values.isEmpty())
        return;
    if (!FPopup) {
        FPopup = new QListWidget(this);
        FPopup->setObjectName(QStringLiteral("ValuesLB"));
        FPopup->setWindowFlags(Qt::Popup);
        FPopup->setUniformItemSizes(true);
        FPopup->installEventFilter(this);
        connect(FPopup, &QListWidget::itemClicked, this,
                [this](QListWidgetItem *Item) { ChooseValue(FPopup->row(Item)); });
    }
    QAbstractItemDelegate *previous = FPopup->itemDelegate();
    const bool ownerDraw = editor->GetAttributes() & paOwnerDraw;
    FPopup->setItemDelegate(ownerDraw ? new TValueListDelegate(editor, FPopup) : new QStyledItemDelegate(FPopup));
    delete previous;
    FPopup->clear();
    FPopup->addItems(values);
    for (int i = 0; i < FPopup->count(); ++i)
        FPopup->item(i)->setSizeHint(QSize(0, FRowHeight));
    const int current = int(values.indexOf(SafeValue(editor)));
    FPopup->setCurrentRow(current);

    // The widest entry + 8 (+ the owner-drawn extra), at most 8 rows; as wide
    // as the value column when narrower, else right-aligned with the grid.
    int width = 0;
    for (const QString &value : values)
        width = qMax(width, FPopup->fontMetrics().horizontalAdvance(value));
    width += 8;
    if (ownerDraw)
        width += editor->GetExtraLBSize();
    const int rows = qMin(8, int(values.size()));
    if (values.size() > 8)
        width += FPopup->verticalScrollBar()->sizeHint().width();
    const QRect value = FGrid->ValueRect(FItemIndex);
    QPoint topLeft;
    if (width < value.width()) {
        width = value.width();
        topLeft = FGrid->mapToGlobal(QPoint(value.left(), value.bottom() + 1));
    } else {
        topLeft = FGrid->mapToGlobal(QPoint(FGrid->width() - width, value.bottom() + 1));
    }
    QRect popup(topLeft, QSize(width, rows * FRowHeight + 2 * FPopup->frameWidth()));
    if (const QScreen *screen = FGrid->screen()) {
        const QRect area = screen->availableGeometry();
        if (popup.bottom() > area.bottom())
            popup.moveBottom(FGrid->mapToGlobal(QPoint(0, value.top())).y() - 1);
        if (popup.right() > area.right())
            popup.moveRight(area.right());
        if (popup.left() < area.left())
            popup.moveLeft(area.left());
    }
    FPopup->setGeometry(popup);
    FPopup->show();
}

void TfrxObjectInspector::ChooseValue(int Index)
{
    if (!FPopup || Index < 0 || Index >= FPopup->count())
        return;
    const QString text = FPopup->item(Index)->text();
    FPopup->hide();
    FEdit->setText(text);
    FEditModified = true;
    ApplyEdit();
    FEdit->setFocus();
    FEdit->selectAll();
}

// ---- Keys in the edit box

bool TfrxObjectInspector::eventFilter(QObject *Watched, QEvent *Event)
{
    if (FPopup && Watched == FPopup && Event->type() == QEvent::KeyPress) {
        // Enter chooses the entry, Escape closes the list.
        const int key = static_cast<QKeyEvent *>(Event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ChooseValue(FPopup->currentRow());
            return true;
        }
        if (key == Qt::Key_Escape) {
            FPopup->hide();
            FEdit->setFocus();
            return true;
        }
        return QWidget::eventFilter(Watched, Event);
    }
    if (Watched != FEdit)
        return QWidget::eventFilter(Watched, Event);
    switch (Event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(Event);
        const int page = qMax(1, FScroll->viewport()->height() / FRowHeight);
        switch (key->key()) {
        case Qt::Key_Up:
            SetItemIndex(FItemIndex - 1);
            return true;
        case Qt::Key_Down:
            if (key->modifiers() & Qt::AltModifier)
                ShowValueList();
            else
                SetItemIndex(FItemIndex + 1);
            return true;
        case Qt::Key_PageUp:
            SetItemIndex(FItemIndex - page);
            return true;
        case Qt::Key_PageDown:
            SetItemIndex(FItemIndex + page);
            return true;
        case Qt::Key_Escape:
            FEdit->setText(FEditText);
            FEditModified = false;
            FEdit->selectAll();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            TfrxPropertyEditor *editor = RowEditor(FItemIndex);
            if (editor && (editor->GetAttributes() & paDialog))
                EditProperty();
            else
                ApplyEdit();
            FEdit->selectAll();
            return true;
        }
        default:
            break;
        }
        break;
    }
    case QEvent::MouseButtonDblClick:
        EditProperty();
        FEdit->selectAll();
        return true;
    case QEvent::FocusOut:
        // Leaving the inspector commits; the drop-down list does not leave it.
        if (static_cast<QFocusEvent *>(Event)->reason() != Qt::PopupFocusReason)
            ApplyEdit();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(Watched, Event);
}
