#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "design/design_file.h"
#include "project/project.h"

class QDialog;
class QMessageBox;
class QPrinter;
class QWidget;

namespace quoinry::profile {
struct Drawing;
struct Region;
}  // namespace quoinry::profile

namespace quoinry::shell {

enum class MessageIcon { None, Information, Exclamation };

// What to do with unsaved changes before they would be lost.
enum class SaveChoice { Save, Discard, Cancel };

// Everything the windows ask of the desktop or of the user outside their own controls. The
// program uses DesktopServices; tests put a recorder in its place so that nothing blocks.
class ShellServices {
  public:
    virtual ~ShellServices() = default;

    virtual void Message(QWidget* parent, const QString& title, const QString& text,
                         MessageIcon icon) = 0;
    // A yes/no question; true for yes.
    virtual bool Ask(QWidget* parent, const QString& title, const QString& text) = 0;
    // The DXF drawing of the CAD step; empty when the user cancels.
    virtual QString DrawingFile(QWidget* parent) = 0;
    // The region the user clicks in the drawing; nothing when cancelled.
    virtual std::optional<std::size_t> PickRegion(QWidget* parent, const profile::Drawing& drawing,
                                                  const std::vector<profile::Region>& regions) = 0;
    // Opens a file with the desktop's default application; false when none could be started.
    virtual bool OpenFile(const std::filesystem::path& file) = 0;
    // Starts a program without waiting for it; false when it could not be started.
    virtual bool StartProgram(const QString& program) = 0;
    // Ends the program at once: no window's closing handlers run.
    virtual void Quit() = 0;

    // The design file to open, the name to save a design or a calculation document under (the
    // proposal filled in); empty when the user cancels.
    virtual QString DesignFileToOpen(QWidget* parent) = 0;
    virtual QString DesignFileToSave(QWidget* parent, const QString& proposal) = 0;
    virtual QString DocumentFileToSave(QWidget* parent, const QString& proposal) = 0;
    virtual QString PdfFileToSave(QWidget* parent, const QString& proposal) = 0;
    // Shows the calculation document's window until the user closes it.
    virtual void ShowDocument(QDialog& window) = 0;
    // The system's print dialog for `printer`; false when the user cancels.
    virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // Asked before unsaved changes of the design or project (`kind`: "设计", "工程") named
    // `title` would be lost.
    virtual SaveChoice AskSaveChanges(QWidget* parent, const QString& kind,
                                      const QString& title) = 0;
    // The design's name, project and engineer as the user edits them; nothing when cancelled.
    virtual std::optional<DesignInfo> EditDesignInfo(QWidget* parent, const DesignInfo& info) = 0;

    // A file of the kind `filter` names ("工程文件 (*.qproj)") to open, or to save under (the
    // proposal filled in); empty when the user cancels.
    virtual QString FileToOpen(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString FileToSave(QWidget* parent, const QString& title, const QString& filter,
                               const QString& proposal) = 0;
    // The project's name, site, edition, people and date as the user edits them; nothing when
    // cancelled.
    virtual std::optional<ProjectInfo> EditProjectInfo(QWidget* parent,
                                                       const ProjectInfo& info) = 0;
    // The row the user picks from a table (型材预选's profiles); nothing when cancelled.
    virtual std::optional<std::size_t> ChooseRow(QWidget* parent, const QString& title,
                                                 const QStringList& header,
                                                 const std::vector<QStringList>& rows) = 0;
};

// A message box as the program shows it: wide enough for its title, no minimise or maximise
// button.
std::unique_ptr<QMessageBox> NewMessageBox(QWidget* parent, const QString& title,
                                           const QString& text, MessageIcon icon);

// The table ChooseRow shows (its QTableWidget named "Rows"), the first row selected.
std::unique_ptr<QDialog> NewChooseRowDialog(QWidget* parent, const QString& title,
                                            const QStringList& header,
                                            const std::vector<QStringList>& rows);

// Whether unsaved changes (`modified`) may be set aside: there are none, or the user has them
// saved by `save` (which says whether it saved) or discards them; false when the user cancels.
bool MaySetAside(ShellServices& services, QWidget* parent, bool modified, const QString& kind,
                 const QString& title, const std::function<bool()>& save);

class DesktopServices : public ShellServices {
  public:
    void Message(QWidget* parent, const QString& title, const QString& text,
                 MessageIcon icon) override;
    bool Ask(QWidget* parent, const QString& title, const QString& text) override;
    QString DrawingFile(QWidget* parent) override;
    std::optional<std::size_t> PickRegion(QWidget* parent, const profile::Drawing& drawing,
                                          const std::vector<profile::Region>& regions) override;
    bool OpenFile(const std::filesystem::path& file) override;
    bool StartProgram(const QString& program) override;
    void Quit() override;
    QString DesignFileToOpen(QWidget* parent) override;
    QString DesignFileToSave(QWidget* parent, const QString& proposal) override;
    QString DocumentFileToSave(QWidget* parent, const QString& proposal) override;
    QString PdfFileToSave(QWidget* parent, const QString& proposal) override;
    void ShowDocument(QDialog& window) override;
    bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
    SaveChoice AskSaveChanges(QWidget* parent, const QString& kind, const QString& title) override;
    std::optional<DesignInfo> EditDesignInfo(QWidget* parent, const DesignInfo& info) override;
    QString FileToOpen(QWidget* parent, const QString& title, const QString& filter) override;
    QString FileToSave(QWidget* parent, const QString& title, const QString& filter,
                       const QString& proposal) override;
    std::optional<ProjectInfo> EditProjectInfo(QWidget* parent, const ProjectInfo& info) override;
    std::optional<std::size_t> ChooseRow(QWidget* parent, const QString& title,
                                         const QStringList& header,
                                         const std::vector<QStringList>& rows) override;
};

}  // namespace quoinry::shell
