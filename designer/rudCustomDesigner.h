#pragma once
// What the parts of the designer (workspace, object inspector, property
// editors, page and memo editors) need from the designer window, so that
// each part can be built and tested against a small stand-in window.

#include "designer/rudSelectionModel.h"

#include <QList>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>

class TIniFile;
class TfrxComponent;
class TfrxDesigner;
class TfrxPage;
class TfrxReport;

// The designer's measurement units, as the settings store keeps them.
enum TfrxDesignerUnits { duCM = 0, duInches = 1, duPixels = 2, duChars = 3 };

// The designer window's face towards its parts. The window
// (TfrxDesignerForm) derives from it; tests derive stand-ins.
class TfrxCustomDesigner : public QMainWindow {
    Q_OBJECT
public:
    // A designer editing Report in place (not owned).
    explicit TfrxCustomDesigner(TfrxReport *Report, QWidget *Parent = nullptr);
    ~TfrxCustomDesigner() override;

    TfrxReport *Report() const { return FReport; }
    // The page shown, or nullptr while the code tab is shown.
    TfrxPage *Page() const { return FPage; }
    // Shows Value: the selection becomes the page itself.
    virtual void SetPage(TfrxPage *Value);
    // Every object of the shown page, flattened in tree order (later is drawn
    // on top). The window refills it when the page or its objects change.
    QList<TfrxComponent *> &Objects() { return FObjects; }
    // The selection, shared by the window's parts; it holds the page itself
    // when nothing else is selected. A part that changes it announces the
    // change through it, and the window then calls SelectionChanged.
    TfrxSelectionModel &Selection() { return FSelection; }
    const TfrxSelectionModel &Selection() const { return FSelection; }
    // Refills Objects() from the shown page (the page first, then its
    // objects in tree order).
    void RebuildObjects();

    // The report has changes that are not saved.
    bool Modified() const { return FModified; }
    // Records a change (Value true) or a saved state: the window takes an
    // undo snapshot and refreshes its parts except Sender, the part that
    // made the change. The base class only keeps the flag.
    virtual void SetModified(bool Value, QObject *Sender = nullptr);
    // The selection changed in Sender (a part of the window, announced
    // through Selection()): the window refreshes the other parts.
    virtual void SelectionChanged(QObject *Sender = nullptr);
    // Property values changed elsewhere: the inspector repaints them.
    virtual void UpdateInspector() {}

    // Inspector updates are suspended while property editors write several
    // objects; the counts nest.
    void DisableInspectorUpdate() { ++FInspectorLock; }
    void EnableInspectorUpdate() { if (FInspectorLock > 0) --FInspectorLock; }
    bool InspectorLocked() const { return FInspectorLock > 0; }

    TfrxDesignerUnits Units() const { return FUnits; }
    virtual void SetUnits(TfrxDesignerUnits Value) { FUnits = Value; }
    // A length in millimetres in the designer's unit: centimetres mm / 10,
    // inches mm / 25.4, pixels mm * 96 / 25.4, characters mm * 3.77953 / 9.6
    // across (Horizontal) or / 17 down, rounded.
    double mmToUnits(double mm, bool Horizontal = true) const;
    // The inverse of mmToUnits (characters give whole cells).
    double UnitsTomm(double Value, bool Horizontal = true) const;
    // The unit's short name: "cm", "in", "px" or "chr" (engine resources).
    QString UnitsName() const;

    // Memo editor options: the object's own font, else this font.
    bool UseObjectFont() const { return FUseObjectFont; }
    void SetUseObjectFont(bool Value) { FUseObjectFont = Value; }
    const QString &MemoFontName() const { return FMemoFontName; }
    void SetMemoFontName(const QString &Value) { FMemoFontName = Value; }
    int MemoFontSize() const { return FMemoFontSize; }
    void SetMemoFontSize(int Value) { FMemoFontSize = Value; }

    // The settings component in use (TfrxDesigner::Current()), or nullptr.
    TfrxDesigner *Settings() const;
    // True when the settings component forbids the command of Flag (an int
    // of TfrxDesignerRestriction).
    bool IsRestricted(int Flag) const;
    // The report's per-user settings store.
    std::unique_ptr<TIniFile> GetIniFile() const;
    // Tells the person, once per window, that the settings store could not
    // be read (the built-in settings serve) or, with Writing, written (this
    // session's settings are not kept); Detail says why.
    void SettingsFailed(const QString &Detail, bool Writing);

    // Asks for an expression (the expression editor); empty when none was
    // chosen. Hosts and tests may answer through ExpressionHook.
    virtual QString InsertExpression(const QString &Current = QString());
    std::function<QString(const QString &Current)> ExpressionHook;

    // The designer opened from a preview edits a copy of a prepared page.
    bool IsPreviewDesigner() const { return FIsPreviewDesigner; }
    void SetIsPreviewDesigner(bool Value) { FIsPreviewDesigner = Value; }

    // The designer window that edits Report, or nullptr.
    static TfrxCustomDesigner *DesignerOf(const TfrxReport *Report);

protected:
    TfrxReport *FReport;
    TfrxPage *FPage = nullptr;
    QList<TfrxComponent *> FObjects;
    TfrxSelectionModel FSelection;
    bool FModified = false;
    int FInspectorLock = 0;
    TfrxDesignerUnits FUnits = duCM;
    bool FUseObjectFont = true;
    QString FMemoFontName = QStringLiteral("Arial");
    int FMemoFontSize = 10;
    bool FIsPreviewDesigner = false;
    bool FSettingsFailureShown = false;
};
