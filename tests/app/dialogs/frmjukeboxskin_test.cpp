#include "app/dialogs/frmjukeboxskin.h"

#include "app/dialogs/skinshost.h"
#include "app/dialogs/tfrec.h"
#include "app/skins/pixelfont.h"
#include "app/skins/skincomponents.h"
#include "app/skins/skinfolder.h"
#include "controls/colorpanel.h"
#include "controls/orvanebutton.h"
#include "controls/orvanepanel.h"
#include "core/captions/tagfonts.h"
#include "platform/qtstring.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/guievents.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>

#include <filesystem>

namespace {

// A skinned window made by the test: two buttons, a panel with bitmaps, and two font sets registered in
// the order Track List, Queue List (the dialog sorts them by name).
struct SkinsDialog : ::testing::Test, TskinsHost
{
    TempDir dir;
    ScopedEnv home{"ORVANE_HOME", dir.File("home")};
    ScopedEnv bin{"ORVANE_BIN_DIR", dir.File("bin")};
    TfakeDialogs dialogs;
    TfakePrompts prompts;
    QWidget window;
    TorvaneButton* exit = Make<TorvaneButton>("obtnExit");
    TorvanePanel* title = Make<TorvanePanel>("opnlTitle");
    TtagFonts trackFonts;
    TtagFonts queueFonts;
    TskinComponents components;
    TskinFolder skin{components};
    int queueChanges = 0;

    TskinFolder& SkinFolder() override { return skin; }
    std::vector<TtagFonts*> SkinFontSets() const override
    {
        return {const_cast<TtagFonts*>(&trackFonts), const_cast<TtagFonts*>(&queueFonts)};
    }
    QWidget* HostWindow() const override { return const_cast<QWidget*>(&window); }

    template <class T>
    T* Make(const char* name)
    {
        auto* control = new T(&window);
        control->setObjectName(name);
        return control;
    }

    void SetUp() override
    {
        QImage image(9, 6, QImage::Format_RGB32);
        image.fill(QColor(128, 128, 128));
        exit->SetSkinBitmap(image);
        title->SetBitmapTopLeft(image);
        components.SetWindow(&window);
        components.AddChildren(&window);
        trackFonts.SetNiceName("Track List");
        trackFonts.SetColorNiceName("Track List");
        trackFonts.SetFontNiceName(TtagFonts::fkArtist, "Artist");
        trackFonts.SetFontNiceName(TtagFonts::fkTitle, "Track Title");
        queueFonts.SetNiceName("Queue List");
        queueFonts.SetFontNiceName(TtagFonts::fkIndex, "Play Index");
        queueFonts.SetFontNiceName(TtagFonts::fkArtist, "Artist");
        queueFonts.SetFontNiceName(TtagFonts::fkTitle, "Track Title");
        queueFonts.OnChange = [this](TtagFonts*) { ++queueChanges; };
        components.AddFontSet(&trackFonts);
        components.AddFontSet(&queueFonts);
        skin.ProcessMessages = nullptr;
        skin.ApplySkinColors(RGBColor(1, 2, 3), RGBColor(4, 5, 6));
    }

    std::string WriteSkin(const std::string& name, const std::string& bytes)
    {
        return dir.Write("home/Skins/" + name + "/skin.osk", bytes);
    }

    template <class T = QWidget>
    static T* Child(const QWidget& form, const char* name)
    {
        T* child = form.findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static QPushButton* ButtonOf(const QWidget& form, const char* name)
    {
        return Child<QPushButton>(form, name);
    }

    static std::vector<std::string> Entries(const QListWidget& list)
    {
        std::vector<std::string> entries;
        for (int row = 0; row < list.count(); ++row)
            entries.push_back(platform::FromQString(list.item(row)->text()));
        return entries;
    }
};

TEST_F(SkinsDialog, ShowsTheWindowsSetsSortedWithTheirNamedFontsAndColours)
{
    TfrmJukeboxSkin form;
    form.SetJukeboxApp(this);
    auto* tabs = Child<QTabBar>(form, "tcTagFonts");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "Queue List");
    EXPECT_EQ(tabs->tabText(1), "Track List");
    EXPECT_EQ(&form.Record(0).Live(), &queueFonts);
    EXPECT_NE(&form.Record(0).Working(), &queueFonts);
    EXPECT_EQ(Child<TcolorPanel>(form, "pnlButtonColor")->Color(), RGBColor(1, 2, 3));
    EXPECT_EQ(Child<TcolorPanel>(form, "pnlPanelColor")->Color(), RGBColor(4, 5, 6));
    EXPECT_FALSE(ButtonOf(form, "btnApply")->isEnabled());

    // Fonts in the list's own order (artist, album, title, index, ...); the queue set has no colour name.
    auto* fonts = Child<QListWidget>(form, "lbTagFonts");
    EXPECT_EQ(Entries(*fonts), (std::vector<std::string>{"Artist", "Track Title", "Play Index"}));
    EXPECT_EQ(fonts->currentRow(), 0);
    EXPECT_EQ(ButtonOf(form, "btnTagBackground")->text(), "Background Color");
    EXPECT_FALSE(ButtonOf(form, "btnTagBackground")->isEnabled());
    tabs->setCurrentIndex(1);
    EXPECT_EQ(Entries(*fonts), (std::vector<std::string>{"Artist", "Track Title"}));
    EXPECT_EQ(ButtonOf(form, "btnTagBackground")->text(), "Track List");
    EXPECT_TRUE(ButtonOf(form, "btnTagBackground")->isEnabled());

    // Without a window: no sets, and every button that needs one does nothing.
    TfrmJukeboxSkin bare;
    bare.SetJukeboxApp(nullptr);
    EXPECT_EQ(Child<QTabBar>(bare, "tcTagFonts")->count(), 0);
    for (const char* name : {"btnFont", "btnFontColor", "btnMakeAllSame", "btnMatchFonts", "btnLoadSkin"})
        ButtonOf(bare, name)->click();
    Child<QLineEdit>(bare, "edExportName")->setText("Night");
    ButtonOf(bare, "btnExportSkin")->click();
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("home/Skins/Night")));
}

TEST_F(SkinsDialog, OkAppliesAFontChangeAndCancelDropsIt)
{
    const TFontDesc before = queueFonts.ArtistFont();
    const TFontDesc chosen = PixelFont("Chosen", 19, clRed, {TFontStyle::fsBold});
    for (const bool ok : {false, true}) {
        dialogs.fontAnswers.push_back(chosen);
        WhenModal([ok](QWidget* modal) {
            ButtonOf(*modal, "btnFont")->click();
            ButtonOf(*modal, ok ? "btnOK" : "btnCancel")->click();
        });
        ShowSkinsDialog(this);
        EXPECT_EQ(queueFonts.ArtistFont(), ok ? chosen : before) << ok;
    }
    EXPECT_EQ(queueChanges, 1);
    ShowSkinsDialog(nullptr);
}

TEST_F(SkinsDialog, FontColourReachesEverySelectedFontAndApplyRecoloursTheQueue)
{
    TfrmJukeboxSkin form;
    form.SetJukeboxApp(this);
    auto* fonts = Child<QListWidget>(form, "lbTagFonts");
    fonts->item(0)->setSelected(true);
    fonts->item(2)->setSelected(true);
    dialogs.colorAnswers.push_back(clLime);
    ButtonOf(form, "btnFontColor")->click();
    EXPECT_EQ(form.Record(0).Working().ArtistFont().Color, clLime);
    EXPECT_EQ(form.Record(0).Working().IndexFont().Color, clLime);
    EXPECT_NE(form.Record(0).Working().TitleFont().Color, clLime);
    EXPECT_NE(queueFonts.ArtistFont().Color, clLime);
    EXPECT_TRUE(form.FontsModified());

    ButtonOf(form, "btnApply")->click();
    EXPECT_EQ(queueFonts.ArtistFont().Color, clLime);
    EXPECT_EQ(queueFonts.IndexFont().Color, clLime);
    EXPECT_EQ(queueFonts.NiceName(), "Queue List");
    EXPECT_EQ(queueChanges, 1);
    EXPECT_FALSE(form.FontsModified());
    EXPECT_TRUE(ButtonOf(form, "btnApply")->isEnabled());

    // A cancelled dialog changes nothing.
    ButtonOf(form, "btnFontColor")->click();
    EXPECT_FALSE(form.FontsModified());
}

TEST_F(SkinsDialog, SetWideAndListWideEditsStayOnTheWorkingCopies)
{
    queueFonts.SetArtistFont(PixelFont("Model", 21, clRed, {TFontStyle::fsItalic}));
    queueFonts.SetIndexFont(PixelFont("Other", 11, clBlue));
    queueFonts.SetColor(RGBColor(9, 9, 9));
    TfrmJukeboxSkin form;
    form.SetJukeboxApp(this);
    const TtagFonts& queue = form.Record(0).Working();
    const TtagFonts& track = form.Record(1).Working();

    ButtonOf(form, "btnMatchFonts")->click();
    EXPECT_EQ(queue.IndexFont().Name, "Model");
    EXPECT_EQ(queue.IndexFont().Size, queue.ArtistFont().Size);
    EXPECT_TRUE(queue.IndexFont().Italic());
    EXPECT_EQ(queue.IndexFont().Color, clBlue);
    EXPECT_EQ(queueFonts.IndexFont().Name, "Other");

    ButtonOf(form, "btnMakeAllSame")->click();
    EXPECT_EQ(track.ArtistFont(), queue.ArtistFont());
    EXPECT_EQ(track.Color(), RGBColor(9, 9, 9));
    EXPECT_EQ(track.NiceName(), "Track List");
    EXPECT_EQ(track.ColorNiceName(), "Track List");
    EXPECT_EQ(trackFonts.Color(), 0);

    // The background of a set with a colour name.
    Child<QTabBar>(form, "tcTagFonts")->setCurrentIndex(1);
    dialogs.colorAnswers.push_back(clNavy);
    ButtonOf(form, "btnTagBackground")->click();
    EXPECT_EQ(track.Color(), clNavy);
    EXPECT_EQ(Child<TcolorPanel>(form, "pnlTagFonts")->Color(), clNavy);
    form.ApplyChanges();
    EXPECT_EQ(trackFonts.Color(), clNavy);
    EXPECT_EQ(trackFonts.ArtistFont().Name, "Model");
}

TEST_F(SkinsDialog, AClickedColourPanelRecoloursTheSkinOnApply)
{
    TfrmJukeboxSkin form;
    form.SetJukeboxApp(this);
    auto* panel = Child<TcolorPanel>(form, "pnlButtonColor");
    dialogs.colorAnswers.push_back(RGBColor(0x20, 0x40, 0x60));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), panel->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &release);
    EXPECT_EQ(panel->Color(), RGBColor(0x20, 0x40, 0x60));
    EXPECT_TRUE(form.ColorsModified());
    EXPECT_EQ(exit->Color(), RGBColor(1, 2, 3));
    form.ApplyChanges();
    EXPECT_EQ(skin.ButtonColor(), RGBColor(0x20, 0x40, 0x60));
    EXPECT_EQ(skin.PanelColor(), RGBColor(4, 5, 6));
    EXPECT_EQ(exit->Color(), RGBColor(0x20, 0x40, 0x60));
}

TEST_F(SkinsDialog, ListsSkinsDescribesThemAndLoadsOne)
{
    WriteSkin("Plain", "[Info]\r\nDescription=Just grey\r\n");
    WriteSkin("Sunset", "[Info]\r\nTitle=Sunset\r\nCreator=Ann\r\nDescription=Warm\r\n"
                        "[Colors]\r\nButtonColor=#FF8000\r\nPanelColor=#400000\r\n"
                        "[QueueList]\r\nArtistColor=#00FFFF\r\nQueueList=#101010\r\n");
    TfrmJukeboxSkin form;
    form.SetJukeboxApp(this);
    auto* skins = Child<QListWidget>(form, "lbSkins");
    auto* memo = Child<QPlainTextEdit>(form, "memoSkins");
    EXPECT_EQ(Entries(*skins), (std::vector<std::string>{"Plain", "Sunset"}));
    skins->setCurrentRow(1);
    EXPECT_EQ(memo->toPlainText(), "Creator : Ann\nDescription : Warm");
    skins->setCurrentRow(0);
    EXPECT_EQ(memo->toPlainText(), "Description : Just grey");

    // Load Skin without a selection does nothing; with one, the skin shows at once.
    skins->setCurrentRow(-1);
    ButtonOf(form, "btnLoadSkin")->click();
    EXPECT_TRUE(skin.CurrentSkinFile().empty());
    skins->setCurrentRow(1);
    ButtonOf(form, "btnLoadSkin")->click();
    EXPECT_EQ(skin.CurrentSkinFile(), dir.File("home/Skins/Sunset/skin.osk"));
    EXPECT_EQ(exit->Color(), RGBColor(0xFF, 0x80, 0));
    EXPECT_EQ(queueFonts.ArtistFont().Color, clAqua);
}

TEST_F(SkinsDialog, OkAndApplyAfterLoadSkinKeepTheLoadedSkin)
{
    WriteSkin("Sunset", "[Colors]\r\nButtonColor=#FF8000\r\nPanelColor=#400000\r\n"
                        "[QueueList]\r\nArtistColor=#00FFFF\r\nQueueList=#101010\r\n");
    for (const char* finish : {"btnApply", "btnOK"}) {
        skin.ApplySkinColors(RGBColor(1, 2, 3), RGBColor(4, 5, 6));
        queueFonts.SetArtistFont(TFontDesc());
        dialogs.colorAnswers = {clRed, clYellow};
        WhenModal([this, finish](QWidget* modal) {
            // A font and a colour edited for the old skin, then another skin loaded over them.
            ButtonOf(*modal, "btnFontColor")->click();
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(Child<TcolorPanel>(*modal, "pnlPanelColor"), &release);
            Child<QListWidget>(*modal, "lbSkins")->setCurrentRow(0);
            ButtonOf(*modal, "btnLoadSkin")->click();
            EXPECT_EQ(Child<TcolorPanel>(*modal, "pnlPanelColor")->Color(), RGBColor(0x40, 0, 0));
            ButtonOf(*modal, finish)->click();
            if (std::string(finish) == "btnApply")
                ButtonOf(*modal, "btnCancel")->click();
        });
        ShowSkinsDialog(this);
        EXPECT_EQ(queueFonts.ArtistFont().Color, clAqua) << finish;
        EXPECT_EQ(skin.PanelColor(), RGBColor(0x40, 0, 0)) << finish;
        EXPECT_EQ(exit->OuterColor(), RGBColor(0x40, 0, 0)) << finish;
    }
}

TEST_F(SkinsDialog, ExportsTheLookInUseAndRefusesNamesOutsideTheSkinsFolder)
{
    TfrmJukeboxSkin form;
    form.SetJukeboxApp(this);
    auto* name = Child<QLineEdit>(form, "edExportName");
    // Changes not applied yet are not exported.
    dialogs.colorAnswers.push_back(clRed);
    ButtonOf(form, "btnFontColor")->click();
    name->setText("Night");
    ButtonOf(form, "btnExportSkin")->click();
    const std::string folder = dir.File("home/Skins/Night");
    EXPECT_TRUE(std::filesystem::exists(folder + "/skin.osk"));
    EXPECT_TRUE(std::filesystem::exists(folder + "/obtnExit_Image.bmp"));
    EXPECT_TRUE(std::filesystem::exists(folder + "/opnlTitle_tlImage.bmp"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 3);
    const std::string bytes = TempDir::Read(folder + "/skin.osk");
    EXPECT_NE(bytes.find("ButtonColor=#010203"), std::string::npos);
    EXPECT_EQ(bytes.find("ArtistColor=#FF0000"), std::string::npos);
    EXPECT_EQ(bytes.find("[Info]"), std::string::npos);
    EXPECT_EQ(Entries(*Child<QListWidget>(form, "lbSkins")), (std::vector<std::string>{"Night"}));

    for (const char* bad : {"../Escape", "a/b", "..", "a\\b"}) {
        name->setText(bad);
        ButtonOf(form, "btnExportSkin")->click();
    }
    EXPECT_EQ(prompts.Count("Export Skin"), 4);
    EXPECT_FALSE(std::filesystem::exists(dir.File("home/Escape")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("home/Skins/a")));
    name->clear();
    ButtonOf(form, "btnExportSkin")->click();
    EXPECT_EQ(prompts.boxes.size(), 4u);
}

} // namespace
