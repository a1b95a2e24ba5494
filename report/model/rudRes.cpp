// The engine's string table: built-in documents, language files, lookups,
// help topics and the script engine's message set.

#include "report/model/rudRes.h"

#include "base/DataFolder.h"
#include "base/Errors.h"
#include "base/NumberFormat.h"
#include "base/UserInterface.h"
#include "report/model/rudXML.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QRegularExpression>

static void initResources()
{
    Q_INIT_RESOURCE(rudRes);
}

namespace {

// The built-in English documents, added in this order.
const char *const BuiltInDocuments[] = {
    ":/rud/strings/frxrcClass.xml",
    ":/rud/strings/frxrcInsp.xml",
    ":/rud/strings/frxrcDesgn.xml",
};

// The keys of the script engine's compile-error messages.
const char *const FSMessageKeys[] = {
    "SLangNotFound", "SInvalidLanguage", "SIdRedeclared", "SUnknownType", "SIncompatibleTypes",
    "SIdUndeclared", "SClassRequired", "SIndexRequired", "SStringError", "SClassError",
    "SArrayRequired", "SVarRequired", "SNotEnoughParams", "STooManyParams", "SLeftCantAssigned",
    "SForError", "SEventError",
};

// Window or object class -> page of the help file.
struct THelpTopic {
    const char *ClassName;
    const char *Topic;
};
const THelpTopic HelpTopics[] = {
    {"TfrxDesignerForm", "Designer.htm"},
    {"TfrxOptionsEditor", "Designer_options.htm"},
    {"TfrxReportEditorForm", "Report_options.htm"},
    {"TfrxPageEditorForm", "Page_options.htm"},
    {"TfrxCrossEditorForm", "Cross_tab_reports.htm"},
    {"TfrxChartEditorForm", "Diagrams.htm"},
    {"TfrxSyntaxMemo", "Script.htm"},
    {"TfrxDialogPage", "Dialogue_forms.htm"},
    {"TfrxDialogComponent", "Data_access_components.htm"},
    {"TfrxVarEditorForm", "Variables.htm"},
    {"TfrxHighlightEditorForm", "Conditional_highlighting.htm"},
    {"TfrxSysMemoEditorForm", "Inserting_aggregate_function.htm"},
    {"TfrxFormatEditorForm", "Values_formatting.htm"},
    {"TfrxGroupEditorForm", "Report_with_groups.htm"},
    {"TfrxPictureEditorForm", "Picture_object.htm"},
    {"TfrxMemoEditorForm", "Text_object.htm"},
    {"TfrxSQLEditorForm", "TfrxADOQuery.htm"},
};

} // namespace

TfrxResources::TfrxResources() : FHelpFile(QStringLiteral("VIVeru.chm"))
{
    initResources();
    for (const char *name : BuiltInDocuments) {
        QFile file(QString::fromLatin1(name));
        if (file.open(QIODevice::ReadOnly))
            LoadFromStream(&file);
    }
}

TfrxResources::~TfrxResources() = default;

QString TfrxResources::Get(const QString &Key) const
{
    const auto it = FNames.constFind(Key.toLower());
    QString result = it == FNames.constEnd() ? Key : FValues.at(it.value());
    if (result.startsWith(u'!'))
        result.remove(0, 1);
    return result;
}

void TfrxResources::AddW(const QString &Key, const QString &Value)
{
    const QString key = Key.toLower();
    const auto it = FNames.constFind(key);
    if (it != FNames.constEnd()) {
        FValues[it.value()] = Value;
        return;
    }
    FNames.insert(key, int(FValues.size()));
    FValues.append(Value);
}

void TfrxResources::Add(const QString &Key, const QString &Value)
{
    AddW(Key, Value);
}

void TfrxResources::AddStrings(const QString &Str)
{
    const QStringList lines = Str.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = line.left(eq);
        const QString value = line.mid(eq + 1);
        if (!key.isEmpty() && !value.isEmpty())
            AddW(key, value);
    }
}

void TfrxResources::AddXML(const QByteArray &Str)
{
    QByteArray copy = Str;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    LoadFromStream(&buffer);
}

void TfrxResources::LoadFromStream(QIODevice *Stream)
{
    // The script messages follow the table whatever happens to this load.
    struct TRefresh {
        TfrxResources *Owner;
        ~TRefresh() { Owner->UpdateFSResources(); }
    } refresh{this};

    TfrxXMLDocument doc;
    doc.LoadFromStream(Stream);
    const TfrxXMLItem *root = doc.Root();
    if (root->Name() != QLatin1String("Resources"))
        return;
    FCodePage = StrToInt(root->Prop(QStringLiteral("CodePage")));
    // The reader decodes the UTF-8 texts of an old-format file as UTF-8.
    for (int i = 0; i < root->Count(); ++i) {
        const TfrxXMLItem *item = root->Items(i);
        if (item->Name() != QLatin1String("StrRes"))
            continue;
        AddW(item->Prop(QStringLiteral("Name")), item->Prop(QStringLiteral("Text")));
    }
}

void TfrxResources::LoadFromFile(const QString &FileName)
{
    QFile file(FileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    LoadFromStream(&file);
}

void TfrxResources::Clear()
{
    FNames.clear();
    FValues.clear();
}

const QStringList &TfrxResources::Languages()
{
    if (!FLanguagesListed)
        BuildLanguagesList();
    return FLanguages;
}

void TfrxResources::BuildLanguagesList()
{
    FLanguagesListed = true;
    FLanguages.clear();
    const QDir dir(dataFolder());
    const QStringList files = dir.entryList({QStringLiteral("*.frc")}, QDir::Files);
    for (const QString &file : files) {
        QString name = file.toLower();
        if (!name.isEmpty())
            name[0] = name[0].toUpper();
        name.chop(4);
        FLanguages.append(name);
    }
    FLanguages.sort();
}

void TfrxResources::UpdateFSResources()
{
    FFSMessages.clear();
    for (const char *key : FSMessageKeys) {
        const QString k = QString::fromLatin1(key);
        FFSMessages.append({k, Get(k)});
    }
    if (FFSHandler)
        FFSHandler(FFSMessages);
}

void TfrxResources::SetFSResourcesHandler(std::function<void(const TfrxFSMessages &)> Handler)
{
    FFSHandler = std::move(Handler);
    if (FFSHandler)
        FFSHandler(FFSMessages);
}

QString TfrxResources::HelpPath(const QString &ClassName) const
{
    QString topic;
    for (const THelpTopic &entry : HelpTopics) {
        if (ClassName.compare(QLatin1String(entry.ClassName), Qt::CaseInsensitive) == 0) {
            topic = QStringLiteral("::/") + QLatin1String(entry.Topic);
            break;
        }
    }
    return dataFolder() + u'/' + FHelpFile + topic;
}

bool TfrxResources::Help(const QString &ClassName)
{
    // The help file is not shipped with every installation.
    if (!QFileInfo(dataFolder() + u'/' + FHelpFile).isFile())
        return false;
    return userInterface().OpenDocument(HelpPath(ClassName));
}

bool TfrxResources::Help(const QObject *Sender)
{
    QString className;
    if (Sender) {
        className = QString::fromLatin1(Sender->metaObject()->className());
        const qsizetype colon = className.lastIndexOf(u':');
        if (colon >= 0)
            className = className.mid(colon + 1);
    }
    return Help(className);
}

TfrxResources &rudResources()
{
    static TfrxResources resources;
    return resources;
}

QString rudGet(int ID)
{
    return rudResources().Get(QString::number(ID));
}
