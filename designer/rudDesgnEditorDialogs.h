#pragma once
// The small windows the designer's property editors open: a form over the
// published properties of a record (frame, fill, display format), the text
// of a string list, and a picture loaded from a file. Each works on a copy;
// the editor writes the copy into the edited objects when the window is
// accepted. Controls carry object names so that tests can answer them.

#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QFormLayout;
class QLabel;
class QPlainTextEdit;
class QComboBox;
class QVBoxLayout;
class TfrxCustomDesigner;
class TfrxPersistent;
class TfrxPicture;
class TfrxPropertyEditor;

// A copy of Source made through the class registry (nullptr for a class
// that cannot be made without arguments).
std::unique_ptr<TfrxPersistent> rudClonePersistent(const TfrxPersistent &Source);

// A form with one control per published property of a record: a check box
// for a Boolean, one check box per element for a set, a drop-down list for
// values from a list, an edit box otherwise (sub-records and lists are left
// to the inspector). Each control is named after its property, each set
// element's check box after the element.
class TfrxPersistentDialog : public QDialog {
    Q_OBJECT
public:
    TfrxPersistentDialog(const QString &Caption, std::unique_ptr<TfrxPersistent> Copy, TfrxCustomDesigner *Designer,
                         QWidget *Parent = nullptr);
    ~TfrxPersistentDialog() override;

    // Offers a choice of record kinds above the form (a combo box named
    // "KindCB"): choosing kind i replaces the copy by Make(i), keeping what
    // the kinds share.
    void SetKinds(const QStringList &Names, int Current,
                  std::function<std::unique_ptr<TfrxPersistent>(int Index)> Make);
    // Writes the controls' values into the copy; raises the editor's error
    // for a value that is not valid.
    void Apply();
    TfrxPersistent *Copy() const { return FCopy.get(); }

private:
    struct TRow;
    void BuildForm();
    void KindChanged(int Index);

    std::unique_ptr<TfrxPersistent> FCopy;
    TfrxCustomDesigner *FDesigner;
    QVBoxLayout *FLayout;
    QWidget *FForm = nullptr;
    QComboBox *FKindCB = nullptr;
    std::function<std::unique_ptr<TfrxPersistent>(int Index)> FMake;
    std::vector<std::unique_ptr<TRow>> FRows;
};

// The lines of a string list in a text box named "TextM".
class TfrxStringsDialog : public QDialog {
    Q_OBJECT
public:
    TfrxStringsDialog(const QString &Caption, const QStringList &Lines, QWidget *Parent = nullptr);
    QStringList Lines() const;
    QPlainTextEdit *TextM() const { return FText; }

private:
    QPlainTextEdit *FText;
};

// A picture with a preview and the buttons "Load..." (named "LoadB", a
// file dialog, then the picture file is read) and "Clear" ("ClearB").
class TfrxPictureDialog : public QDialog {
    Q_OBJECT
public:
    TfrxPictureDialog(const TfrxPicture &Picture, QWidget *Parent = nullptr);
    ~TfrxPictureDialog() override;
    TfrxPicture *Picture() const { return FPicture.get(); }
    // Asks for a picture file and reads it; an unreadable file is reported
    // in a message box and changes nothing. True when a picture was read.
    bool LoadPicture();
    void ClearPicture();

private:
    void UpdatePreview();

    std::unique_ptr<TfrxPicture> FPicture;
    QLabel *FPreview;
    QLabel *FSize;
};
