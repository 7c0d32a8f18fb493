#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "Dialogs.h"
#include "app/ControlPanel.h"
#include "core/SettingsFile.h"
#include "core/TempFiles.h"

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  std::string Ini() const { return dir_.Path("kesto.INI"); }
  void WriteIni(const std::string& text) { dir_.File("kesto.INI", text); }
  std::string ReadIni() const {
    std::ifstream in(Ini());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  TForm1& Start(const TSettingsPlaces& places) {
    panel_ = std::make_unique<TForm1>(places);
    panel_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(panel_.get()));
    return *panel_;
  }
  TForm1& Start() { return Start(Ini()); }
  void Close() { panel_->close(); }
  int32_t Stored(const char* section, const char* key) const {
    return TSettingsFile(Ini()).ReadInteger(section, key, -999);
  }

  TTempDir dir_;
  std::unique_ptr<TForm1> panel_;
};

TEST_F(SettingsTest, FirstRunUsesTheDefaultsAndCreatesTheFileOnClose) {
  TForm1& p = Start();
  TKestoForm& k = *p.KestoForm;
  EXPECT_EQ(p.pos(), QPoint(0, 0));
  EXPECT_EQ(k.pos(), QPoint(154, 0));
  EXPECT_EQ(k.ClientWidth(), 640);
  EXPECT_EQ(k.ClientHeight(), 480);
  EXPECT_TRUE(k.isVisible());
  EXPECT_EQ(k.ColorBackGround, 0);
  EXPECT_EQ(k.ColorMin, 0xFF0000);
  EXPECT_EQ(k.ColorHigh, 0x0000FF);
  EXPECT_EQ(k.ColorAxisY, 0x008000);
  EXPECT_EQ(k.DrawMode, 1);
  EXPECT_EQ(k.AxisMode, 1);
  EXPECT_EQ(k.Angle1, 0);
  EXPECT_EQ(k.Angle2, 45);
  EXPECT_EQ(k.Angle3, 160);
  EXPECT_FALSE(p.CB_Spec->isChecked());
  EXPECT_EQ(k.SurfaceMode, 0);
  EXPECT_EQ(k.LineWidth, 1);
  EXPECT_EQ(k.AxisWidth, 1);
  EXPECT_FALSE(std::filesystem::exists(Ini()));
  Close();
  const std::string text = ReadIni();
  for (const char* key : {"Top", "Left", "CmbB_LineWidth", "CmbB_AxisWidth", "ClientWidth",
                          "ClientHeight", "Color_BackGround", "Color_Min", "Color_High",
                          "Color_Axis_X", "Color_Axis_Y", "Color_Axis_Z", "DrawMode", "AxisMode",
                          "Angle1", "Angle2", "Angle3", "Spec", "SurfaceMode"})
    EXPECT_NE(text.find(std::string(key) + "="), std::string::npos) << key;
  EXPECT_EQ(Stored("KestoF", "Left"), 154);
  EXPECT_EQ(Stored("KestoF", "Color_Min"), 16711680);
  EXPECT_EQ(Stored("KestoF", "Angle3"), 160);
  // Written in its own order: SurfaceMode before the angles, Spec last.
  EXPECT_LT(text.find("SurfaceMode"), text.find("Angle1"));
  EXPECT_GT(text.find("Spec"), text.find("Angle3"));
}

TEST_F(SettingsTest, AnglesAreWrittenRoundedHalvesToEven) {
  TForm1& p = Start();
  p.KestoForm->Angle1 = 22.5;
  p.KestoForm->Angle2 = 23.5;
  p.KestoForm->Angle3 = -2.5;
  Close();
  EXPECT_EQ(Stored("KestoF", "Angle1"), 22);
  EXPECT_EQ(Stored("KestoF", "Angle2"), 24);
  EXPECT_EQ(Stored("KestoF", "Angle3"), -2);
  Start().KestoForm->Angle1 = 160.4;
  Close();
  EXPECT_EQ(Stored("KestoF", "Angle1"), 160);
}

TEST_F(SettingsTest, StoredSpectrumStartsWithTheBoxChecked) {
  WriteIni("[KestoF]\nSpec=1\n");
  TForm1& p = Start();
  EXPECT_TRUE(p.CB_Spec->isChecked());
  EXPECT_FALSE(p.Bt_Color_Low->isEnabled());
  EXPECT_FALSE(p.Bt_Color_High->isEnabled());
  EXPECT_FALSE(p.PB_Low->isVisible());
  EXPECT_FALSE(p.PB_High->isVisible());
  EXPECT_EQ(p.KestoForm->Spec, 1);
}

// A colour map chosen with key P comes back as it was, the box checked beside it.
TEST_F(SettingsTest, AStoredColourMapStaysChosen) {
  WriteIni("[KestoF]\nSpec=1\nPalette=3\nReversePalette=1\n");
  TForm1& p = Start();
  EXPECT_TRUE(p.CB_Spec->isChecked());
  EXPECT_EQ(p.KestoForm->Palette, kPaletteMagma);
  Close();
  EXPECT_EQ(Stored("KestoF", "Palette"), kPaletteMagma);
  EXPECT_EQ(Stored("KestoF", "ReversePalette"), 1);
}

TEST_F(SettingsTest, OtherSpecValuesStayAndLeaveTheBoxUnchecked) {
  WriteIni("[KestoF]\nSpec=2\n");
  TForm1& p = Start();
  EXPECT_FALSE(p.CB_Spec->isChecked());
  EXPECT_EQ(p.KestoForm->Spec, 2);
}

TEST_F(SettingsTest, OnlyAGraphSectionHexValuesAndTheLastWidth) {
  WriteIni(
      "[KestoF]\nColor_High=0xFF\nColor_Min=$FF\nLeft=40\nTop=30\nClientWidth=320\n"
      "ClientHeight=200\nDrawMode=0\nAxisMode=0\nSurfaceMode=2\nAngle2=100\n");
  TForm1& p = Start();
  EXPECT_EQ(p.pos(), QPoint(0, 0));
  EXPECT_EQ(p.CmbB_LineWidth->currentText(), "1");
  EXPECT_EQ(p.CmbB_AxisWidth->currentIndex(), 0);
  TKestoForm& k = *p.KestoForm;
  EXPECT_EQ(k.ColorHigh, 255);
  EXPECT_EQ(k.ColorMin, 255);
  EXPECT_EQ(k.pos(), QPoint(40, 30));
  EXPECT_EQ(k.ClientWidth(), 320);
  EXPECT_EQ(k.DrawMode, 0);
  EXPECT_EQ(k.SurfaceMode, 2);
  EXPECT_EQ(k.Angle2, 100);
  Close();
  WriteIni("[Form]\nCmbB_LineWidth=11\nCmbB_AxisWidth=4\n");
  TForm1& again = Start();
  EXPECT_EQ(again.CmbB_LineWidth->currentText(), "20");
  EXPECT_EQ(again.KestoForm->LineWidth, 20);
  EXPECT_EQ(again.KestoForm->AxisWidth, 5);
}

TEST_F(SettingsTest, GarbageTakesDefaultsAndAStrayWidthIndexSelectsNothing) {
  WriteIni(
      "[Form]\nTop=abc\nCmbB_LineWidth=12\nCmbB_AxisWidth=-3\n[KestoF]\nColor_Min=1.5\n"
      "Angle3=99999999999\nDrawMode=\nClientWidth=0x\n");
  TForm1& p = Start();
  TKestoForm& k = *p.KestoForm;
  EXPECT_EQ(p.pos(), QPoint(0, 0));
  EXPECT_EQ(k.ColorMin, 0xFF0000);
  EXPECT_EQ(k.Angle3, 160);
  EXPECT_EQ(k.DrawMode, 1);
  EXPECT_EQ(k.ClientWidth(), 640);
  EXPECT_EQ(TForm1::SelectedItem(p.CmbB_LineWidth), -1);
  EXPECT_EQ(TForm1::SelectedItem(p.CmbB_AxisWidth), -1);
  EXPECT_EQ(k.LineWidth, 1);  // nothing to apply: the width stays
  EXPECT_EQ(k.AxisWidth, 1);
  Close();
  EXPECT_EQ(Stored("Form", "CmbB_LineWidth"), -1);
}

TEST_F(SettingsTest, ForeignKeysAndCommentsSurviveARun) {
  WriteIni("; my notes\n[Form]\nTop=10\nMyKey=keep me\n[Mine]\nx=1\n");
  Start();
  Close();
  const std::string text = ReadIni();
  EXPECT_NE(text.find("; my notes"), std::string::npos) << text;
  EXPECT_NE(text.find("MyKey=keep me"), std::string::npos) << text;
  EXPECT_NE(text.find("[Mine]"), std::string::npos) << text;
  EXPECT_EQ(Stored("Form", "Top"), 10);
}

TEST_F(SettingsTest, AWindowWhollyOffEveryScreenComesBackToItsFirstRunPlace) {
  for (const char* ini :
       {"[Form]\nLeft=-5000\nTop=-5000\n[KestoF]\nLeft=90000\nTop=20\n",
        "[Form]\nLeft=2147483647\nTop=2147483647\n[KestoF]\nLeft=-2147483648\n"}) {
    WriteIni(ini);
    TForm1& p = Start();
    EXPECT_EQ(p.pos(), QPoint(0, 0)) << ini;
    EXPECT_EQ(p.KestoForm->pos(), QPoint(154, 0)) << ini;
    Close();
  }
  WriteIni("[KestoF]\nLeft=-600\nTop=10\n");  // partly on screen: kept as stored
  EXPECT_EQ(Start().KestoForm->pos(), QPoint(-600, 10));
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenIsReportedOnceAndTheProgramStillEnds) {
  TForm1& p = Start();
  std::filesystem::create_directory(Ini());  // nothing can replace a folder
  QString report;
  auto reported = CloseNextErrorReport(&report);
  Close();
  EXPECT_TRUE(reported->Answered());
  EXPECT_TRUE(report.contains(QString::fromStdString(Ini()))) << report.toStdString();
  EXPECT_FALSE(p.isVisible());
}

// A FIFO in place of the file neither keeps the viewer from opening nor from ending,
// and is still a FIFO afterwards.
TEST_F(SettingsTest, ASpecialFileInPlaceOfTheSettingsIsReportedAndLeftAlone) {
  ASSERT_EQ(mkfifo(Ini().c_str(), 0600), 0);
  QString opening, closing;
  {
    auto reported = CloseNextErrorReport(&opening);
    TForm1& p = Start();
    EXPECT_TRUE(reported->Answered());
    EXPECT_EQ(p.KestoForm->Angle3, 160);  // first-run settings
  }
  auto reported = CloseNextErrorReport(&closing);
  Close();
  EXPECT_TRUE(reported->Answered());
  for (const QString& report : {opening, closing})
    EXPECT_TRUE(report.contains("not a regular file")) << report.toStdString();
  EXPECT_TRUE(std::filesystem::is_fifo(Ini()));
}

// Installed where the user may not write, the viewer keeps its settings in the user's
// configuration folder without a word, and reads them from there next time.
TEST_F(SettingsTest, AnInstalledViewerKeepsItsSettingsInTheUsersFolder) {
  std::filesystem::create_directory(Ini());  // nothing can be written in its place
  const TSettingsPlaces places(Ini(), dir_.Path("config/kesto/kesto.INI"));
  for (int run = 0; run < 2; ++run) {
    TForm1& p = Start(places);
    EXPECT_EQ(p.KestoForm->DrawMode, run == 0 ? 1 : 0) << run;
    if (run == 0) QTest::mouseClick(p.Bt_DrawMode, Qt::LeftButton);
    QString report;
    auto reported = CloseNextErrorReport(&report);
    Close();
    EXPECT_FALSE(reported->Answered()) << report.toStdString();
  }
  EXPECT_EQ(TSettingsFile(places.UserFolder).ReadInteger("KestoF", "DrawMode", -1), 0);
}

TEST_F(SettingsTest, WhatTheUserSetIsThereNextTime) {
  {
    TForm1& p = Start();
    QTest::mouseClick(p.Bt_DrawMode, Qt::LeftButton);
    QTest::mouseClick(p.Bt_SurfaceMode, Qt::LeftButton);
    QTest::mouseClick(p.Bt_AxisMode, Qt::LeftButton);
    QTest::mouseClick(p.Bt_Up, Qt::LeftButton);
    QTest::mouseClick(p.Bt_Right, Qt::LeftButton);
    QTest::mouseClick(p.CB_Spec, Qt::LeftButton, {}, QPoint(5, 8));
    for (auto [button, color] : {std::pair{p.Bt_Color_BackGround, 0x102030},
                                 {p.Bt_Color_Axis_X, 0x0000FF},
                                 {p.Bt_Color_Axis_Z, 0xFFFFFF}}) {
      auto answer = ChooseColorInNextDialog(color);
      QTest::mouseClick(button, Qt::LeftButton);
    }
    p.CmbB_LineWidth->setCurrentIndex(4);
    emit p.CmbB_LineWidth->activated(4);
    p.CmbB_AxisWidth->setCurrentIndex(2);
    emit p.CmbB_AxisWidth->activated(2);
    p.move(30, 40);
    p.KestoForm->move(300, 50);
    p.KestoForm->SetClientSize(500, 400);
    QGuiApplication::sync();  // the window system has answered the moves and the resize
    Close();
  }
  TForm1& p = Start();
  TKestoForm& k = *p.KestoForm;
  EXPECT_EQ(k.DrawMode, 0);
  EXPECT_EQ(k.SurfaceMode, 1);
  EXPECT_EQ(k.AxisMode, 0);
  EXPECT_EQ(k.Angle2, 50);
  EXPECT_EQ(k.Angle3, 165);
  EXPECT_TRUE(p.CB_Spec->isChecked());
  EXPECT_EQ(k.Spec, 1);
  EXPECT_EQ(k.ColorBackGround, 0x102030);
  EXPECT_EQ(k.ColorAxisX, 0x0000FF);
  EXPECT_EQ(k.ColorAxisZ, 0xFFFFFF);
  EXPECT_EQ(k.LineWidth, 5);
  EXPECT_EQ(k.AxisWidth, 3);
  EXPECT_EQ(p.pos(), QPoint(30, 40));
  EXPECT_EQ(k.pos(), QPoint(300, 50));
  EXPECT_EQ(k.ClientWidth(), 500);
  EXPECT_EQ(k.ClientHeight(), 400);
}

}  // namespace
