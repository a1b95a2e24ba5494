#pragma once
// The property editors the designer registers for report properties:
// positions and sizes in the designer's unit, paper sizes and names,
// events, Booleans, frames, fills, pictures, data sets and fields, string
// lists and the memo text, style samples, display formats, style and
// printer names; and the properties the inspector does not show.

#include "designer/rudDsgnIntf.h"

// Registers the designer's editors and hidden properties; the designer
// calls it at start-up. Calling it again does nothing.
void rudRegisterDesignerEditors();

// A length in the designer's unit as the position editors show it: a
// whole number in the general format, any other with two decimals.
QString rudUnitsToText(double Value);
// A paper length in the designer's unit: as rudUnitsToText, except that a
// value that is exact at two decimals (14.8 cm) keeps the general format.
QString rudPaperUnitsToText(double Value);

// A position or size (page units, pixels at 96 per inch) in the designer's
// unit; X and Y differ in the character cell of the character unit.
class TfrxPositionProperty : public TfrxFloatProperty {
public:
    TfrxPositionProperty(TfrxCustomDesigner *Designer, bool Horizontal);
    QString GetValue() override;
    void SetValue(const QString &Value) override;
    // Page units -> the designer's unit, and back.
    double ToUnits(double Value) const;
    double FromUnits(double Value) const;

private:
    bool FHorizontal;
};

class TfrxPositionXProperty : public TfrxPositionProperty {
public:
    explicit TfrxPositionXProperty(TfrxCustomDesigner *Designer) : TfrxPositionProperty(Designer, true) {}
};

class TfrxPositionYProperty : public TfrxPositionProperty {
public:
    explicit TfrxPositionYProperty(TfrxCustomDesigner *Designer) : TfrxPositionProperty(Designer, false) {}
};

// A paper size or margin (millimetres) in the designer's unit.
class TfrxPaperProperty : public TfrxFloatProperty {
public:
    TfrxPaperProperty(TfrxCustomDesigner *Designer, bool Horizontal);
    QString GetValue() override;
    void SetValue(const QString &Value) override;
    double ToUnits(double Value) const;
    double FromUnits(double Value) const;

private:
    bool FHorizontal;
};

class TfrxPaperXProperty : public TfrxPaperProperty {
public:
    explicit TfrxPaperXProperty(TfrxCustomDesigner *Designer) : TfrxPaperProperty(Designer, true) {}
};

class TfrxPaperYProperty : public TfrxPaperProperty {
public:
    explicit TfrxPaperYProperty(TfrxCustomDesigner *Designer) : TfrxPaperProperty(Designer, false) {}
};

// A paper number by the current printer's name for it.
class TfrxPaperNameProperty : public TfrxIntegerProperty {
public:
    using TfrxIntegerProperty::TfrxIntegerProperty;
    TfrxPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

// An event: the name of a script procedure, chosen from the procedures of
// the report's script that take the event's parameters.
class TfrxEventProperty : public TfrxStringProperty {
public:
    using TfrxStringProperty::TfrxStringProperty;
    TfrxPropertyAttributes GetAttributes() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

// A Boolean with a check box drawn in its row; editing toggles it.
class TfrxBooleanProperty : public TfrxEnumProperty {
public:
    using TfrxEnumProperty::TfrxEnumProperty;
    TfrxPropertyAttributes GetAttributes() override;
    bool Edit() override;
    void OnDrawLBItem(QPainter &Canvas, int Index, const QRect &ARect) override;
    void OnDrawItem(QPainter &Canvas, const QRect &ARect) override;
    int GetExtraLBSize() override;
};

// A record edited in a form of its own (frame, fill, display format) and
// expanded into its properties.
class TfrxRecordDialogProperty : public TfrxClassProperty {
public:
    using TfrxClassProperty::TfrxClassProperty;
    TfrxPropertyAttributes GetAttributes() override;
    bool Edit() override;

protected:
    // The window's caption.
    virtual QString Caption() const = 0;
    // Lets a fill choose its kind.
    virtual bool ChoosesKind() const { return false; }
};

class TfrxFrameProperty : public TfrxRecordDialogProperty {
public:
    using TfrxRecordDialogProperty::TfrxRecordDialogProperty;

protected:
    QString Caption() const override;
};

class TfrxFillProperty : public TfrxRecordDialogProperty {
public:
    using TfrxRecordDialogProperty::TfrxRecordDialogProperty;

protected:
    QString Caption() const override;
    bool ChoosesKind() const override { return true; }
};

class TfrxDisplayFormatProperty : public TfrxRecordDialogProperty {
public:
    using TfrxRecordDialogProperty::TfrxRecordDialogProperty;

protected:
    QString Caption() const override;
};

// A picture, loaded from a file in the picture window.
class TfrxPictureProperty : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
    TfrxPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    bool Edit() override;
};

// A data set of the report, by its name.
class TfrxDataSetProperty : public TfrxComponentProperty {
public:
    using TfrxComponentProperty::TfrxComponentProperty;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

// A field of the object's data set.
class TfrxDataFieldProperty : public TfrxStringProperty {
public:
    using TfrxStringProperty::TfrxStringProperty;
    TfrxPropertyAttributes GetAttributes() override;
    void GetValues() override;
};

// A list of lines edited in a text window.
class TfrxStringsProperty : public TfrxClassProperty {
public:
    using TfrxClassProperty::TfrxClassProperty;
    TfrxPropertyAttributes GetAttributes() override;
    bool Edit() override;
};

// A memo's text, edited in the memo's own editor.
class TfrxMemoProperty : public TfrxStringsProperty {
public:
    using TfrxStringsProperty::TfrxStringsProperty;
    bool Edit() override;
};

// Brush styles with a sample of each pattern.
class TfrxBrushStyleProperty : public TfrxEnumProperty {
public:
    using TfrxEnumProperty::TfrxEnumProperty;
    TfrxPropertyAttributes GetAttributes() override;
    void OnDrawLBItem(QPainter &Canvas, int Index, const QRect &ARect) override;
    void OnDrawItem(QPainter &Canvas, const QRect &ARect) override;
    int GetExtraLBSize() override;
};

// Frame line styles with a sample line of each.
class TfrxFrameStyleProperty : public TfrxEnumProperty {
public:
    using TfrxEnumProperty::TfrxEnumProperty;
    TfrxPropertyAttributes GetAttributes() override;
    void OnDrawLBItem(QPainter &Canvas, int Index, const QRect &ARect) override;
    void OnDrawItem(QPainter &Canvas, const QRect &ARect) override;
    int GetExtraLBSize() override;
};

// A memo's style, chosen from the report's styles.
class TfrxStyleNameProperty : public TfrxStringProperty {
public:
    using TfrxStringProperty::TfrxStringProperty;
    TfrxPropertyAttributes GetAttributes() override;
    void GetValues() override;
};

// The printer of the print options, chosen from the installed printers.
class TfrxPrinterNameProperty : public TfrxStringProperty {
public:
    using TfrxStringProperty::TfrxStringProperty;
    TfrxPropertyAttributes GetAttributes() override;
    void GetValues() override;
};
