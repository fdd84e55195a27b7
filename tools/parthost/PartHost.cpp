#include "PartHost.h"

#include "PartHostOptions.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CPartDB.h"
#include "hostfw/CVApp.h"
#include "hostfw/CVPartDlg.h"
#include "hostfw/CVPartDocument.h"
#include "hostfw/CVSheet.h"
#include "hostfw/FormServices.h"
#include "hostfw/HostScript.h"
#include "hostfw/PartData.h"
#include "hostfw/PartRecord.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PartSystemSeed.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/PeldaSysData.h"
#include "hostfw/TPeldaHelpContext.h"
#include "hostfw/VCabinetDocExDLL.h"
#include "hostfw/VCabinetDocTable.h"
#include "hostfw/VCmdData.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QEventLoop>

#include <cstdio>
#include <dlfcn.h>
#include <functional>
#include <memory>
#include <system_error>

namespace {

void Print(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

} // namespace

int PartHost::Run(const PartHostOptions& options)
{
    const std::filesystem::path out = std::filesystem::absolute(options.out);
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (ec) {
        Print("ERROR cannot create " + out.string() + ": " + ec.message());
        return 2;
    }
    SetFormOutputFolder(out);
    SetFormLayoutReports(options.formLayout);
    SetFormReportHook([this](const std::string& line) {
        if (line.rfind("FORM-OVERFLOW ", 0) == 0)
            m_formOverflow = true;
        Print(line);
    });
    HostScript script;
    if (!Seed(options, script) || !LoadPlugin(options.plugin))
        return 2;
    PrintHelp();

    bool ok = true;
    if (options.docalc)
        ok = RunDoCalc(*options.docalc) && ok;
    if (options.form)
        ok = RunDoCalc(kDoCalcForm | kDoCalcCalculate) && ok;
    if (options.edit && options.interactive) {
        // While the dialog is the person's, its questions, help and file chooser are too;
        // what runs after it (--csv) answers from the script again.
        HostScript::InstallInteractiveHooks(&Print);
        ok = RunInteractive() && ok;
        script.InstallHooks(&Print);
    }
    else if (options.edit)
        ok = RunEdit(script, out) && ok;
    if (options.edit)
        PrintStoredPart();
    if (options.csv)
        ok = RunCsv(out) && ok;

    UnloadPlugin();
    HostScript::RemoveHooks();
    SetFormReportHook(nullptr);
    PeldaGetApp().Reset();
    return ok && !m_formOverflow ? 0 : 1;
}

bool PartHost::Seed(const PartHostOptions& options, HostScript& script)
{
    PartSystemSeed seed;
    std::string error;
    if (!seed.Load(options.seed, error)) {
        Print("ERROR " + error);
        return false;
    }
    std::string scriptJson = seed.ScriptJson();
    if (!options.script.empty()) {
        QFile in(QString::fromStdString(options.script));
        if (!in.open(QIODevice::ReadOnly)) {
            Print("ERROR cannot read the script " + options.script);
            return false;
        }
        scriptJson = in.readAll().toStdString();
    }
    if (!script.Parse(scriptJson, error)) {
        Print("ERROR " + error);
        return false;
    }
    script.InstallHooks(&Print);

    std::unique_ptr<PartSystem> system = seed.Apply(PeldaIni::DataRoot() / "partsystem.db", error);
    if (!system) {
        Print("ERROR " + error);
        return false;
    }
    const QJsonObject edit =
        QJsonDocument::fromJson(QByteArray::fromStdString(seed.SeedJson())).object().value("edit").toObject();
    m_program = static_cast<WORD>(edit.value("program").toInt(0));
    m_part = static_cast<DWORD>(edit.value("part").toInteger(0));
    CVApp& app = PeldaGetApp();
    app.SetCurPartSysNo(app.AddPartSystem(std::move(system), "parthost"));
    Print("SEED " + options.seed + " program " + std::to_string(m_program) + " part " + std::to_string(m_part));
    return true;
}

bool PartHost::LoadPlugin(const std::string& path)
{
    const std::filesystem::path file = std::filesystem::absolute(path);
    // RTLD_LOCAL: a plug-in's own classes never bind to another plug-in's.
    m_library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library) {
        Print(std::string("ERROR cannot load the plug-in: ") + dlerror());
        return false;
    }
    m_create = reinterpret_cast<CreatePartPrgFn>(dlsym(m_library, kExportCreatePartPrg));
    m_windowEdit = reinterpret_cast<WindowEditFn>(dlsym(m_library, kExportWindowEdit));
    m_helpContext = reinterpret_cast<PeldaHelpContextFn>(dlsym(m_library, kExportHelpContext));
    m_helpNum = reinterpret_cast<PeldaHelpNumFn>(dlsym(m_library, kExportHelpNum));
    if (!m_create || !m_windowEdit || !m_helpContext || !m_helpNum) {
        Print("ERROR the plug-in lacks one of its four exports");
        UnloadPlugin();
        return false;
    }
    PeldaGetApp().SetPluginDataDir(file.parent_path());
    Print("LOADED " + file.string());
    return true;
}

void PartHost::UnloadPlugin()
{
    // Dialogs and objects made by the plug-in go before its code does.
    PeldaGetApp().CloseAllPartDialogs();
    if (m_library)
        dlclose(m_library);
    m_library = nullptr;
    m_create = nullptr;
    m_windowEdit = nullptr;
}

void PartHost::PrintHelp()
{
    const int count = m_helpNum();
    for (int i = 0; i < count; ++i) {
        TPeldaHelpContext context;
        m_helpContext(i, &context);
        Print("HELP " + std::to_string(context.index) + " " + context.module + " " + context.topic);
    }
}

bool PartHost::LoadEditPart(PartData& out) const
{
    CPartDB db(GetCurrentPartSystem(), m_program);
    return m_part != 0 && db.Get(m_part, &out, 0) != 0;
}

bool PartHost::RunDoCalc(DWORD flags)
{
    PartData data;
    if (!LoadEditPart(data)) {
        Print("ERROR the seed's edit part " + std::to_string(m_part) + " of program " +
              std::to_string(m_program) + " cannot be read");
        return false;
    }
    CVApp& app = PeldaGetApp();
    std::unique_ptr<CVSvyPartPrg> program(m_create(app.GetDocument()));
    if (!program) {
        Print("ERROR CREATEPARTPRG answered null");
        return false;
    }
    program->SetHostContext(app.GetDocument(), app.GetPartSysData(app.GetCurPartSysNo()));
    program->PreCalc(data, flags);
    const WORD result = program->DoCalc(data, flags, "");
    program->EndCalc(data, flags);
    Print("DOCALC " + Hex(flags) + " = " + Hex(result));
    return result == kPartResultDone;
}

CVPartDlg* PartHost::OpenEditor()
{
    static VCmdData cmd;
    cmd = VCmdData(m_program, m_part);
    const int created = m_windowEdit(&cmd);
    Print("WINDOWEDIT = " + std::to_string(created));
    const std::vector<QDialog*> dialogs = PeldaGetApp().PartDialogs();
    if (!created || dialogs.empty())
        return nullptr;
    QCoreApplication::processEvents();
    return dynamic_cast<CVPartDlg*>(dialogs.back());
}

bool PartHost::RunEdit(const HostScript& script, const std::filesystem::path& out)
{
    CVPartDlg* dialog = OpenEditor();
    if (!dialog)
        return false;
    dialog->adjustSize();
    QCoreApplication::processEvents();
    const std::filesystem::path shot = out / "edit.png";
    if (dialog->grab().save(QString::fromStdString(shot.string())))
        Print("SCREENSHOT " + shot.string());
    std::string error;
    const QPointer<CVPartDlg> open(dialog);
    const bool ok = script.RunDialog(*dialog, error);
    if (!ok)
        Print("ERROR " + error);
    QCoreApplication::processEvents();
    // The dialog as the steps left it, while it is still open (a step may choose a tab).
    const std::filesystem::path after = out / "edit-steps.png";
    if (open && open->isVisible() && open->grab().save(QString::fromStdString(after.string())))
        Print("SCREENSHOT " + after.string());
    return ok;
}

bool PartHost::RunInteractive()
{
    CVPartDlg* dialog = OpenEditor();
    if (!dialog)
        return false;
    const QPointer<CVPartDlg> open(dialog);
    dialog->adjustSize();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    // Where OK stands once the window is on screen, for a person's helper (xdotool).
    QWindow* window = dialog->windowHandle();
    QEventLoop exposed;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &exposed, [&] {
        if (!open || (window != nullptr && window->isExposed()))
            exposed.quit();
    });
    poll.start(10);
    exposed.exec();
    poll.stop();
    if (!open) {
        Print("EDIT closed before it was shown");
        return false;
    }
    std::string closedWith = "the window";
    const std::pair<int, const char*> buttons[] = {{CVPartDlg::kIdOk, "OK"}, {CVPartDlg::kIdCancel, "キャンセル"}};
    for (const auto& [id, name] : buttons) {
        if (auto* button = dialog->findChild<QPushButton*>(QString("button%1").arg(id)))
            QObject::connect(button, &QPushButton::clicked, [&closedWith, name = name] { closedWith = name; });
    }
    // Every button by its name (OK and キャンセル by these), for a person's helper.
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (!button->isVisible())
            continue;
        std::string name = button->text().toStdString();
        for (const auto& [id, fixed] : buttons)
            if (button->objectName() == QString("button%1").arg(id))
                name = fixed;
        const QPoint at = button->mapToGlobal(button->rect().center());
        Print("INTERACTIVE " + name + " at " + std::to_string(at.x()) + " " + std::to_string(at.y()));
    }
    PrintCellPlaces(*dialog);
    Print("INTERACTIVE waiting for the dialog to close");
    QEventLoop closed;
    QObject::connect(dialog, &QObject::destroyed, &closed, &QEventLoop::quit);
    QObject::connect(dialog, &QDialog::finished, &closed, &QEventLoop::quit);
    if (open && open->isVisible())
        closed.exec();
    QCoreApplication::processEvents();
    Print("EDIT closed with " + closedWith);
    return true;
}

void PartHost::PrintCellPlaces(CVPartDlg& dialog)
{
    // Where each cell of the sheets on screen stands (its centre), first record row.
    for (CVSheet* sheet : dialog.findChildren<CVSheet*>()) {
        CBcxGridCtrl* grid = sheet->GetGrid();
        if (!sheet->isVisible() || grid == nullptr || grid->model() == nullptr)
            continue;
        for (const VstTemplate::Cell& cell : sheet->Template().Cells()) {
            int row = 0;
            int col = 0;
            if (!sheet->CodeToCell(cell.code, 0, row, col))
                continue;
            const QRect rect = grid->visualRect(grid->model()->index(row, col));
            if (!rect.isValid() || !grid->viewport()->rect().contains(rect.center()))
                continue;
            const QPoint at = grid->viewport()->mapToGlobal(rect.center());
            Print("INTERACTIVE cell " + std::to_string(sheet->GetControlId()) + " " + Hex(cell.code) + " at " +
                  std::to_string(at.x()) + " " + std::to_string(at.y()));
        }
    }
}

void PartHost::PrintStoredPart() const
{
    PartData data;
    if (!LoadEditPart(data)) {
        Print("STORED " + std::to_string(m_program) + " " + std::to_string(m_part) + " unreadable");
        return;
    }
    std::string all = data.GetTitle1() + "\x1f" + data.GetTitle2();
    for (const auto& [name, rows] : data.Records())
        for (const PartRecord& row : rows)
            for (std::size_t i = 0; i < row.FieldCount(); ++i)
                all += "\x1f" + name + ":" + row.Text(i) + ":" + std::to_string(row.Long(i)) + ":" +
                       std::to_string(row.Double(i));
    Print("STORED " + std::to_string(m_program) + " " + std::to_string(data.GetAddress()) + " " +
          Hex(static_cast<DWORD>(std::hash<std::string>{}(all))));
}

bool PartHost::RunCsv(const std::filesystem::path& out)
{
    QPointer<CVPartDlg> dialog;
    const std::vector<QDialog*> open = PeldaGetApp().PartDialogs();
    dialog = open.empty() ? OpenEditor() : dynamic_cast<CVPartDlg*>(open.back());
    if (!dialog)
        return false;
    std::string temp;
    PeldaIni::GetBinderTempPath(temp);
    std::error_code ec;
    std::filesystem::remove_all(temp, ec);
    auto binderUpdates = [] {
        VCabinetDocExDLL binder(VCabinetDocExDLL::kBinderSystem);
        return binder.Create(VCabinetDocExDLL::kBinderSystem) ? binder.GetDocTable()->UpdateCount() : -1;
    };
    const long long before = binderUpdates();
    const bool pressed = dialog->PressButton(12000);
    QCoreApplication::processEvents();
    const bool stored = binderUpdates() > before;
    if (!stored)
        Print("ERROR the CSV output was not stored in the binder");
    bool written = false;
    for (const auto& entry : std::filesystem::directory_iterator(temp, ec)) {
        const std::filesystem::path copy = out / entry.path().filename();
        std::filesystem::copy_file(entry.path(), copy, std::filesystem::copy_options::overwrite_existing, ec);
        if (!ec) {
            Print("CSV " + copy.string());
            written = true;
        }
    }
    return pressed && written && stored;
}
