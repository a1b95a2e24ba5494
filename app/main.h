#pragma once
// The entry window of the certificate program: the two booklet pages as
// pictures with the entry controls laid over their blank lines, the menus and
// buttons, and the rules that keep the entries consistent while typing.

#include "app/CertificateReport.h"
#include "app/DateTimePicker.h"
#include "app/Edit.h"
#include "records/TraineeDetails.h"

#include <QMainWindow>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QScrollArea;
class TfmGroup;
class TfmRegister;
class TfrxDesigner;
class TfrxReport;
class TPrintRecorder;
class TRegister;
struct TCertificateRecord;

// Raises EGeneralError for a named control the window does not have.
[[noreturn]] void throwMissingComponent(const QString &name);

// Loads the template at Path (a file or a resource) into Report without a
// message box and without letting a failure out; false when something went
// wrong, which Report's Errors then tell.
bool loadTemplateQuietly(TfrxReport *Report, const QString &Path);

// The operator's one window; every value of one certificate lives in its
// controls. Controls and components carry their names as object names so
// that FindComponent finds them, numbered groups included.
class TfmMain : public QMainWindow, public TCertificateHost {
    Q_OBJECT
public:
    explicit TfmMain(QWidget *parent = nullptr);
    ~TfmMain() override;

    // The client area (below the menu) as designed.
    static constexpr int DesignedClientWidth = 1280, DesignedClientHeight = 641;

    // The component of that name among the window's children, ignoring
    // letter case ("edit_1" finds Edit_1); nullptr when there is none.
    QObject *FindComponent(const QString &name) const;
    // FindComponent for a control that must exist and be of type T; throws
    // EGeneralError naming it otherwise.
    template <class T> T *Component(const QString &name) const;

    // The certificate the controls hold, and the controls set to one (in
    // the order of the file's layout: setting Edit_8 updates the category
    // mirrors; the date pickers keep their time of day).
    TCertificate Certificate() const override;
    void SetCertificate(const TCertificate &Certificate);
    TfrxReport *Report() const override { return rudReport1; }
    QWidget *DialogWindow() override { return this; }

    // Start-up: all four date pickers on today's date.
    void FormCreate();

    // Category mirror: the three category labels take the text of Edit_8.
    void Edit_8Change();
    // Hours normalisation of all ten hours cells and the total, run whenever
    // focus leaves any hours cell. A cell that does not parse raises
    // EConvertError, leaving that cell, the later ones and the total as they were.
    void edt_1Change();
    // Sum of the numbers in edt_1 ... edt_10; raises EConvertError on a text
    // that is not a number (an empty one included). Writes nothing.
    double SumAll() const;
    // The checks before printing, in their fixed order; shows the message of
    // the first that fails and answers false, or answers true.
    bool CorrectAll();
    // The message of the first of those checks that fails; "" when all pass.
    QString EntryFault() const;
    // Clear: every edit empty, hours and total "0", no grade, no
    // transmission, today's date in all four pickers. Asks nothing.
    void N6Click();
    // "Выход" in the menu and on the button: closes the window.
    void N4Click();
    void BitBtn1Click();
    // "ПЕЧАТЬ" and "ОЧИСТИТЬ": choose the menu item, which does nothing while
    // the item is disabled.
    void Button1Click();
    void Button2Click();
    // "Открыть": loads the certificate file chosen in the open dialog into the
    // controls; recomputes the total in every case, a cancel included.
    void N10Click();
    // "Сохранить как...": writes the certificate into the file chosen in the save dialog.
    void N2Click();
    // "Сохранить": writes the certificate back into FileOpenName.
    void N3Click();
    // Loads a certificate file into the controls as "Открыть" does (it
    // becomes FileOpenName) and computes the total from the hours cells.
    void OpenCertificate(const QString &FileName);
    // The certificate file named on the command line: OpenCertificate, with
    // a failure shown in the standard error box; after a failure the form
    // is empty again and there is no current file.
    void OpenAtStart(const QString &FileName);

    // "Печать свидетельства": FillReport, then the report's preview.
    void N7Click();
    // "Настройка шаблона печати": loads the print template into rudReport1
    // (a missing file leaves it empty, without a message) and opens the
    // designer on it, modally; its save writes the user's copy (TemplatePath()).
    void Button3Click();
    // The certificate into the 48 memos of rudReport1 (fillCertificateReport).
    void preprint();
    // Loads the print template into rudReport1 (loadPrintTemplate of
    // TemplatePath() and ShippedTemplate).
    void LoadTemplate() override;
    // The user's print template: TemplateFolder + "/" + PrintTemplateFileName.
    QString TemplatePath() const;
    // The folder of the user's print template; the user's data folder unless
    // a host (a test) sets another.
    QString TemplateFolder;
    // The print template shipped with the program, copied to TemplatePath()
    // on first use; never written.
    QString ShippedTemplate;

    // Full path of the certificate file last opened; empty until one is.
    QString FileOpenName;

    // The school's register, opened (the default file created) on first
    // use at registerLocation(); raises ERegisterError when it cannot be.
    TRegister &Register() override;
    // Forgets the open register, so that the next use opens its location anew.
    void CloseRegister();
    // "Реестр свидетельств...": the register window (made on first use), refreshed and shown.
    void N13Click();
    // "Поступление бланков...": a range of blanks into the register.
    void N14Click();
    // "Настройки реестра...": where the register is, kept in the settings file.
    void N15Click();
    // "Архив PDF...": whether and where printed certificates are kept as PDF.
    void ArchiveSettingsClick();
    // "Печать группы...": the group window (made on first use), shown.
    void N16Click();
    TfmGroup *GroupWindow() const { return FGroupWindow; }
    // The register window, once it was opened; nullptr before.
    TfmRegister *RegisterWindow() const { return FRegisterWindow; }
    // A record's certificate into the controls, to print it again (on a new
    // blank); with Duplicate the next print is recorded as its duplicate.
    void OpenRecord(const TCertificateRecord &Record, bool Duplicate);
    // The record the next print duplicates; nothing for an ordinary print.
    std::optional<qint64> DuplicateOf() const override { return FDuplicateOf; }
    // Sets it (shown under the booklet), or clears it with nullptr.
    void SetDuplicateOf(const TCertificateRecord *Original) override;
    // The trainee's details the booklet does not print (the federal register
    // export needs them): kept in the certificate file and the register,
    // cleared with the form. Entered in the details dialog (N17).
    TTraineeDetails TraineeDetails;
    // "Сведения о получателе...": the details dialog.
    void N17Click();
    // "Настройки выгрузки в ФИС ФРДО...": the export settings dialog.
    void N18Click();
    // "Выгрузка в ФИС ФРДО...": the issued certificates of the register
    // (issued From ... To; null: open) into an XLSX file the operator chooses.
    void N19Click();
    void ExportFrdo(const QDate &From, const QDate &To);
    // The recorder of the print command's current preview; nullptr outside it.
    TPrintRecorder *PrintRecorder() const { return FRecorder.get(); }

    // Runs a handler of this window behind the standard error box.
    void Handle(void (TfmMain::*handler)());

    // Main menu.
    QMenuBar *MainMenu1 = nullptr;
    QMenu *N1 = nullptr, *N5 = nullptr;
    QAction *N10 = nullptr, *N2 = nullptr, *N3 = nullptr, *N4 = nullptr, *N6 = nullptr,
            *N7 = nullptr;
    // "Настройка шаблона печати" in the print menu: the template command, as Button3.
    QAction *N11 = nullptr;
    // The register menu: "Реестр свидетельств...", "Поступление бланков...", "Настройки реестра...".
    QMenu *N12 = nullptr;
    QAction *N13 = nullptr, *N14 = nullptr, *N15 = nullptr, *ArchiveSettingsAction = nullptr;
    // "Печать группы..." in the file menu.
    QAction *N16 = nullptr;
    // "Сведения о получателе..." in the file menu; the export's settings and
    // the export in the register menu.
    QAction *N17 = nullptr, *N18 = nullptr, *N19 = nullptr;

    // Regions.
    QScrollArea *ScrollBox1 = nullptr;
    QWidget *Booklet = nullptr; // the scrolled booklet area
    QFrame *Splitter1 = nullptr, *Panel1 = nullptr, *Panel2 = nullptr;
    QLabel *Image4 = nullptr, *Image1 = nullptr;

    // Left page.
    TEdit *Edit_1 = nullptr, *Edit_2 = nullptr, *Edit_3 = nullptr, *Edit_4 = nullptr,
          *Edit_5 = nullptr, *Edit_6 = nullptr, *Edit_7 = nullptr, *Edit_8 = nullptr,
          *Edit_10 = nullptr;
    TDateTimePicker *DateTimePicker1 = nullptr, *DateTimePicker2 = nullptr,
                    *DateTimePicker4 = nullptr;

    // Right page: hours cells, total, grade boxes, category mirrors, transmission.
    TEdit *edt_1 = nullptr, *edt_2 = nullptr, *edt_3 = nullptr, *edt_4 = nullptr, *edt_5 = nullptr,
          *edt_6 = nullptr, *edt_7 = nullptr, *edt_8 = nullptr, *edt_9 = nullptr, *edt_10 = nullptr,
          *edt_11 = nullptr;
    QComboBox *cmb_1 = nullptr, *cmb_2 = nullptr, *cmb_3 = nullptr, *cmb_4 = nullptr,
              *cmb_5 = nullptr, *cmb_6 = nullptr, *cmb_7 = nullptr, *cmb_8 = nullptr,
              *cmb_9 = nullptr, *cmb_10 = nullptr, *cmb_kpp = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
    // On the left page beside the number: the next print is a duplicate, and
    // of which certificate; empty otherwise.
    QLabel *DuplicateLabel = nullptr;

    // Panel1: issue date, head of the school, template command.
    QLabel *Label4 = nullptr, *Label5 = nullptr;
    TDateTimePicker *DateTimePicker3 = nullptr;
    TEdit *Edit_9 = nullptr;
    QPushButton *Button3 = nullptr;

    // Panel2: print, clear, exit.
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *BitBtn2 = nullptr;

    // The report that prints the certificate. From the window's creation it
    // holds the built-in print template (the definition delivered as
    // shablon.fr3, embedded in the program); the print and template commands
    // reload it from the file each time.
    TfrxReport *rudReport1 = nullptr;
    // The defaults the designer gives new reports, pages and memos. Both
    // components are children of the window and are freed with it.
    TfrxDesigner *rudDesigner1 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateMenu();
    void CreateRegions();
    void CreateLeftPage();
    void CreateRightPage();
    void CreatePanels();
    void CreateComponents();
    void ConnectHandlers();
    void FitToScreen();

    void CreateRegisterMenu();
    void CreateFrdoMenu();

    std::unique_ptr<TRegister> FRegister;
    std::unique_ptr<TPrintRecorder> FRecorder;
    TfmRegister *FRegisterWindow = nullptr;
    TfmGroup *FGroupWindow = nullptr;
    std::optional<qint64> FDuplicateOf;
    bool FScrolledToStart = false;
    bool FClosing = false;
};

template <class T> T *TfmMain::Component(const QString &name) const
{
    T *component = qobject_cast<T *>(FindComponent(name));
    if (!component)
        throwMissingComponent(name);
    return component;
}
