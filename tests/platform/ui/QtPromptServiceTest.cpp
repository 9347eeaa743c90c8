#include "platform/ui/QtPromptService.h"
#include "platform/win/Clipboard.h"
#include "platform/win/WaitCursor.h"

#include "support/WidgetShot.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTreeView>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

// Answers the next message box that opens, through its own buttons, once the event loop runs it.
void AnswerNextBox(std::function<void(QMessageBox&)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        answer(*box);
    });
}

class QtServices : public ::testing::Test
{
protected:
    void SetUp() override { InstallQtPlatformServices(); }
    void TearDown() override { RemoveQtPlatformServices(); }
};

TEST_F(QtServices, MessageBoxButtonsMapToResults)
{
    struct Case
    {
        unsigned style;
        QMessageBox::StandardButton click; // NoButton: Esc
        int result;
        QMessageBox::StandardButton defaultButton;
    };
    const Case cases[] = {
        {MB_OK, QMessageBox::Ok, IDOK, QMessageBox::Ok},
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::No, IDNO, QMessageBox::Yes},
        {MB_YESNO | MB_DEFBUTTON2, QMessageBox::Yes, IDYES, QMessageBox::No},
        {MB_OKCANCEL, QMessageBox::Cancel, IDCANCEL, QMessageBox::Ok},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, QMessageBox::NoButton, IDCANCEL, QMessageBox::Cancel},
        {MB_ABORTRETRYIGNORE, QMessageBox::Ignore, IDIGNORE, QMessageBox::Abort},
        {MB_RETRYCANCEL, QMessageBox::Retry, IDRETRY, QMessageBox::Retry},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        QMessageBox::StandardButton seenDefault = QMessageBox::NoButton;
        AnswerNextBox([&](QMessageBox& box) {
            seenDefault = box.standardButton(box.defaultButton());
            if (c.click == QMessageBox::NoButton)
                box.reject();
            else
                box.button(c.click)->click();
        });
        EXPECT_EQ(ZuMessageBox("text", "caption", c.style), c.result);
        EXPECT_EQ(seenDefault, c.defaultButton);
    }
}

TEST_F(QtServices, BoxShowsTextCaptionAndIcon)
{
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    AnswerNextBox([&](QMessageBox& box) {
        text = box.text();
        title = box.windowTitle();
        icon = box.icon();
        box.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ZuMessageBox("The settings could not be opened.", "ORVEX", MB_ICONSTOP), IDOK);
    EXPECT_EQ(text, "The settings could not be opened.");
    EXPECT_EQ(title, "ORVEX");
    EXPECT_EQ(icon, QMessageBox::Critical);
}

// A box of a short message is still wide enough for its whole caption in a title bar beside the
// bar's icon and buttons (at least 140 pixels of them), long or short, and grows no taller.
TEST_F(QtServices, ShortMessagesKeepTheirCaptionInSight)
{
    const struct
    {
        const char* text;
        const char* caption;
    } cases[] = {
        {"Finished.", "ORVEX"},
        {"Finished.", "ORVEX Vehicle Vibration and Sound Analysis"},
        {"OK", "\xE6\x8C\xAF\xE5\x8B\x95\xE9\x9F\xB3\xE9\x9F\xBF\xE8\xA7\xA3\xE6\x9E\x90"},
    };
    for (const auto& c : cases) {
        int width = 0, height = 0, needed = 0;
        AnswerNextBox([&](QMessageBox& box) {
            QFont bold = box.font();
            bold.setBold(true);
            needed = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + 140;
            width = box.width();
            height = box.height();
            box.button(QMessageBox::Ok)->click();
        });
        ZuMessageBox(c.text, c.caption, MB_OK | MB_ICONINFORMATION);
        EXPECT_GE(width, needed) << c.caption;
        EXPECT_LT(height, 200) << c.caption;
    }
}

// Every box carries an icon: that of its style, else one that fits its buttons.
TEST_F(QtServices, EveryBoxCarriesTheIconOfItsStyleOrItsButtons)
{
    const struct
    {
        unsigned style;
        QMessageBox::Icon icon;
    } cases[] = {
        {MB_OK | MB_ICONERROR, QMessageBox::Critical},
        {MB_YESNO | MB_ICONWARNING, QMessageBox::Warning},
        {MB_OKCANCEL | MB_ICONINFORMATION, QMessageBox::Information},
        {MB_OK | MB_ICONQUESTION, QMessageBox::Question},
        {MB_RETRYCANCEL | MB_ICONINFORMATION, QMessageBox::Information},
        {MB_OK, QMessageBox::Information},
        {MB_OKCANCEL, QMessageBox::Question},
        {MB_YESNO, QMessageBox::Question},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, QMessageBox::Question},
        {MB_ABORTRETRYIGNORE, QMessageBox::Warning},
        {MB_RETRYCANCEL, QMessageBox::Warning},
        {MB_OK | 0x50, QMessageBox::Information}, // an icon value of no meaning counts as none
        {MB_YESNO | 0xF0, QMessageBox::Question},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool shows = false;
        AnswerNextBox([&](QMessageBox& box) {
            icon = box.icon();
            shows = !box.iconPixmap().isNull();
            box.reject();
        });
        ZuMessageBox("text", "caption", c.style);
        EXPECT_EQ(icon, c.icon);
        EXPECT_TRUE(shows);
    }
}

TEST_F(QtServices, FilterConversion)
{
    EXPECT_EQ(CQtPromptService::ToQtFilter("Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"),
              "Text Files (*.txt);;All Files (*)");
    // The patterns show once, as the chooser reads them; a description without them gets them.
    EXPECT_EQ(CQtPromptService::ToQtFilter("Export (*.xlsx;*.txt)|*.xlsx;*.txt||"), "Export (*.xlsx *.txt)");
    EXPECT_EQ(CQtPromptService::ToQtFilter("Model Data|*.dmd||"), "Model Data (*.dmd)");
    EXPECT_EQ(CQtPromptService::ToQtFilter(""), "");
}

// The file chooser shows whole names, sizes, types and dates in its detail columns, and answers with
// the file and filter chosen.
TEST_F(QtServices, FileChooserColumnsShowWholeValues)
{
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) /
                                      ("orvex_chooser_" + std::to_string(QCoreApplication::applicationPid()));
    std::filesystem::create_directories(dir);
    const std::string longName = "Run-up of the front roof panel 2026-12-10.uff";
    for (const auto& [name, bytes] : {std::pair{longName, 1234567}, std::pair{std::string("a.uff"), 12}})
        std::ofstream(dir / name) << std::string(static_cast<size_t>(bytes), 'x');

    QStringList faults;
    std::string seenFilter, seenName;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // A check that fails below leaves the lambda early: the chooser still closes, so the
        // failure is reported instead of the test waiting on an open dialog.
        struct SCloseOnFailure
        {
            QDialog* dialog;
            ~SCloseOnFailure()
            {
                if (dialog->isVisible())
                    dialog->reject();
            }
        } closeOnFailure{dialog};
        if (!dialog->property(kChooserColumnsFitted).toBool()) {
            // The folder is listed on the model's own thread, which a loaded machine may hold back;
            // the model may report other folders (those above it) first.
            QSignalSpy loaded(dialog->findChild<QFileSystemModel*>(), &QFileSystemModel::directoryLoaded);
            while (!dialog->property(kChooserColumnsFitted).toBool() && loaded.wait(30000)) {
            }
        }
        ASSERT_TRUE(dialog->property(kChooserColumnsFitted).toBool());
        auto* view = dialog->findChild<QTreeView*>("treeView");
        ASSERT_NE(view, nullptr);
        QApplication::processEvents();
        const QModelIndex root = view->rootIndex();
        EXPECT_EQ(view->model()->rowCount(root), 2);
        for (int r = 0; r < view->model()->rowCount(root); ++r)
            for (int c = 0; c < view->model()->columnCount(root); ++c) {
                if (view->header()->isSectionHidden(c))
                    continue;
                const QString text = view->model()->index(r, c, root).data().toString();
                const int needed = view->fontMetrics().horizontalAdvance(text) + (c == 0 ? 24 : 0);
                if (needed > view->header()->sectionSize(c))
                    faults << QStringLiteral("%1 needs %2, column %3 is %4")
                                  .arg(text)
                                  .arg(needed)
                                  .arg(c)
                                  .arg(view->header()->sectionSize(c));
            }
        dialog->grab().save(QDir(ShotFolder("orvex_platform_ui")).filePath("FileChooser.png"));
        seenFilter = dialog->selectedNameFilter().toStdString();
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText(QString::fromStdString(longName)); // as typed
        static_cast<QDialog*>(dialog)->accept();         // the chooser's own accept, as its Open button
    });
    FileChooserOptions options;
    options.title = "Import Universal File";
    options.filter = "Universal Files (*.uff)|*.uff|All Files (*.*)|*.*||";
    options.initialFolder = dir.string();
    std::string path;
    ASSERT_TRUE(PromptOpenFile(options, path));
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
    EXPECT_EQ(seenFilter, "Universal Files (*.uff)");
    EXPECT_EQ(std::filesystem::path(path), dir / longName);

    // Saving: the name given first and the second filter, both handed back.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seenFilter = dialog->selectedNameFilter().toStdString();
        static_cast<QDialog*>(dialog)->accept(); // the chooser's own accept, as its Open button
    });
    FileChooserOptions save;
    save.filter = "PNG Picture (*.png)|*.png|PDF Document (*.pdf)|*.pdf||";
    save.filterIndex = 2;
    save.initialFolder = dir.string();
    save.initialName = "chart.pdf";
    int filterIndex = 0;
    ASSERT_TRUE(PromptSaveFile(save, path, &filterIndex));
    EXPECT_EQ(seenFilter, "PDF Document (*.pdf)");
    EXPECT_EQ(std::filesystem::path(path), dir / "chart.pdf");
    EXPECT_EQ(filterIndex, 2);
    std::filesystem::remove_all(dir);
}

TEST_F(QtServices, ClipboardAndWaitCursorGoThroughQt)
{
    ASSERT_TRUE(SetClipboardText("a\tb\n"));
    std::string text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text, "a\tb\n");
    {
        CWaitCursor wait;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
