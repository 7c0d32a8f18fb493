#pragma once

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/BackgroundRead.h"
#include "app/FileWatch.h"
#include "app/KestoForm.h"
#include "app/Swatch.h"
#include "core/DataFile.h"
#include "core/SettingsFile.h"

// The control panel, the program's main window: four groups of controls that act
// on the graph window, which it creates and owns.
class TForm1 : public QWidget {
 public:
  // Reads its settings from their places (by default the file beside the program,
  // else the one in the user's configuration folder) and writes them back when it
  // closes.
  explicit TForm1(TSettingsPlaces settings = DefaultSettingsPlaces());
  static TSettingsPlaces DefaultSettingsPlaces();

  TKestoForm* KestoForm;

  QFrame *Panel_Main, *Panel_Graph, *Panel_Axis, *Panel_Control;
  QLabel *Label7, *Label2, *Label1, *Label3;
  QPushButton *Bt_Load, *Bt_Open, *Bt_Save, *Bt_Animate, *Bt_Stop;
  QCheckBox* CheckBox1;
  QPushButton *Bt_DrawMode, *Bt_Rise, *Bt_Fall, *Bt_SurfaceMode;
  QComboBox* CmbB_LineWidth;
  QPushButton *Bt_Color_Low, *Bt_Color_High, *Bt_Color_BackGround;
  TSwatch *PB_Low, *PB_High, *PB_Back;
  QCheckBox* CB_Spec;
  QLabel *Label4, *Label5, *Label6;
  QPushButton* Bt_AxisMode;
  QComboBox* CmbB_AxisWidth;
  QPushButton *Bt_Color_Axis_X, *Bt_Color_Axis_Y, *Bt_Color_Axis_Z;
  TSwatch *PB_Axis_X, *PB_Axis_Y, *PB_Axis_Z;
  QPushButton *Bt_Up, *Bt_Left, *Bt_Near, *Bt_Far, *Bt_Right, *Bt_Down;

  QColorDialog* ColorDialog1;
  QFileDialog* OpenDialog1;
  QFileDialog* SavePictureDialog1;

  // Set by "Stop"; every animation clears it when it starts and when it ends.
  bool StopRequested = false;

  void Bt_Click(QPushButton* sender);
  void FormPaint();
  void CmbB_LineWidthChange();
  void CmbB_AxisWidthChange();
  void CB_SpecClick();
  void FormCreate();
  void FormClose();
  // Starts the turning animation: a step in each turn of the event loop until the
  // turn is whole or "Stop" is pressed.
  void Animate();
  // Reads fileName on a worker thread while the windows answer; once it is read and
  // found to fit, fills the graph window's grid, ranges and origin and hands done what
  // the reading noted, or hands failed why the file was refused.
  using TLoadFailed = std::function<void(const std::exception_ptr&)>;
  void LoadDataFile(const std::string& fileName, const TRasterChoice& raster,
                    std::function<void(const TDataFileNotes&)> done, TLoadFailed failed);

  // A data file loaded as "File Load" loads a chosen name: busy label, panel disabled
  // until it is read, then every list rebuilt and the graph shown. A refusal goes to
  // failed, or by default to a box, leaving the graph as it was. A new load, Esc in
  // the graph window or closing the program ends one still reading. Of a raster file
  // that holds several, the one chosen the first time is read again.
  void LoadFile(const QString& path, TLoadFailed failed = {});
  void CancelLoad();
  // The same for a file dropped on a window or named on the command line. watch: load
  // it again whenever it changes on disk.
  void OpenFile(const QString& path, bool watch = false);
  // F5: the file last loaded, again; with none, nothing.
  void Reload();
  // A load, an animation or the graph window's work is still going on.
  bool Busy() const;
  // The file last loaded, and how many loads have succeeded.
  QString LoadedFile;
  int FilesLoaded = 0;
  // Watching the file named with --watch, until "File Load" loads another.
  std::unique_ptr<TFileWatch> Watch;

  // The item of a width box that is selected: -1 when its text names no item.
  static int SelectedItem(const QComboBox* box);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Takes a drag that carries one local file while no load is running.
  void AcceptDrag(QDragMoveEvent* event);
  // The Spectrum box and the colour buttons as the graph window's colouring is.
  void ShowColoring();

 private:
  QFrame* Group(const char* name, QLabel*& title, const char* caption, int top, int height);
  QPushButton* Button(QWidget* group, const char* name, const char* caption, int x, int y, int w,
                      int h, const char* tooltip = nullptr);
  QComboBox* WidthBox(QWidget* group, const char* name, const QStringList& items, int x, int y,
                      int w, void (TForm1::*change)());
  TSwatch* Swatch(QWidget* group, const char* name, const int32_t* color, int x, int y, int w);
  QLabel* RangeLabel(QWidget* group, const char* name, const char* caption, int y);
  void ColorSequence(int32_t& target, int32_t rebuildMask, bool busy);
  void LoadSequence();
  void AnimeSequence();
  void AnimationStep();
  void EndAnimation(bool drawExact);
  void SaveSequence();
  // Makes the change with the busy label up, then rebuilds the lists of mask.
  void BusyRebuild(const std::function<void()>& change, int32_t mask);
  // The busy label goes once the graph window's work is done.
  void HideBusyWhenDone();
  // Shows the busy label; the graph window's work waits until it is painted.
  void ShowBusy();

  void Loaded(const QString& path, const TDataFileNotes& notes);
  void EndLoad();
  void WatchedFileChanged();
  // On the graph window until the next load, and on standard error.
  void TellLoad(const std::string& text);

  TSettingsPlaces settings_;
  bool loading_ = false;
  std::unique_ptr<TBackgroundRead> read_;  // the file being read
  QTimer nextStep_;                        // the animation's next step waits its turn
  int animationStep_ = 0;
  bool animationPreviews_ = false;  // steps show previews, and an exact frame ends the run
  QStringList folders_;             // where files were loaded from, the latest first
  std::string watchError_;          // the last failure of a watched file, reported once
  std::map<QString, TRasterChoice> rasters_;  // the raster chosen of each file, by path
};
