#include "app/ControlPanel.h"

#include <malloc.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QCompleter>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/ErrorReport.h"
#include "app/OnExit.h"
#include "app/RasterChooser.h"
#include "core/AtomicFile.h"
#include "core/DataFile.h"
#include "core/DataNotes.h"
#include "core/StoredSettings.h"
#include "render/Frame.h"

namespace {

// The save dialog's file types, written as description|pattern pairs.
const char* const kPictureFilter =
    "Bitmap Image(*.bmp)|*.bmp|Jpeg Image(*.jpg)|*.jpg|全てのファイル(AllFiles)|*.*";

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (int k = 0; k + 1 < parts.size(); k += 2) {
    const QString pattern = "(" + parts[k + 1] + ")";
    filters << (parts[k].endsWith(pattern) ? parts[k] : parts[k] + " " + pattern);
  }
  return filters;
}

// Two decimals with the user's separator and no grouping; numbers too long for 15
// significant digits in fixed notation are written in scientific notation.
QString RangeNumber(double v) {
  QLocale locale;
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  if (std::isfinite(v) && std::fabs(v) >= 1e15) return locale.toString(v, 'E', 14);
  return locale.toString(v, 'f', 2);
}

void SetTextIfChanged(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

template <size_t N>
QStringList ItemList(const std::array<const char*, N>& items) {
  QStringList list;
  for (const char* item : items) list << item;
  return list;
}

// Moves a window to its stored place, unless that would put it wholly off every
// screen, where nobody could reach it: then it goes to its first-run place.
// In 64 bits: a stored place may be anywhere in the 32-bit range, and its far edge
// beyond it.
void PlaceWindow(QWidget* w, int left, int top, QPoint fallback) {
  const int64_t right = int64_t(left) + w->frameGeometry().width();
  const int64_t bottom = int64_t(top) + w->frameGeometry().height();
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect s = screen->availableGeometry();
    if (left < int64_t(s.x()) + s.width() && right > s.x() && top < int64_t(s.y()) + s.height() &&
        bottom > s.y()) {
      w->move(left, top);
      return;
    }
  }
  w->move(fallback);
}

// A file dialog watches its folder only while it is open: closed, it would go on
// reading the folder at every change there.
void WatchFolder(QFileDialog* dialog, bool watch) {
  auto* model = dialog->findChild<QFileSystemModel*>();
  if (!model) return;
  model->setOption(QFileSystemModel::DontWatchForChanges, !watch);
  if (!watch) return;
  // Listed afresh, and watched again while it is shown.
  const QString folder = dialog->directory().absolutePath();
  model->setRootPath(QString());
  dialog->setDirectory(folder);
}

// Runs a file dialog; the list of names it offered as the user typed does not outlive
// it (left on screen, it would swallow the next click).
bool RunFileDialog(QFileDialog* dialog) {
  WatchFolder(dialog, true);
  const bool accepted = dialog->exec() == QDialog::Accepted;
  WatchFolder(dialog, false);
  for (QCompleter* completer : dialog->findChildren<QCompleter*>())
    if (completer->popup()) completer->popup()->hide();
  return accepted && !dialog->selectedFiles().isEmpty();
}

}  // namespace

TSettingsPlaces TForm1::DefaultSettingsPlaces() {
  // Beside the program only for a copy that keeps its settings there already (a
  // portable one) or the build folder; an installed viewer writes nothing where it
  // is installed, also when run by root.
  const QString program = QCoreApplication::applicationFilePath();
  const std::string beside = SettingsPathFor(program.toStdString());
  const bool ownFolder = QFileInfo(QString::fromStdString(beside)).isFile() ||
                         QFileInfo(program).absolutePath() == QStringLiteral(KESTO_BUILD_BIN_DIR);
  return TSettingsPlaces(ownFolder ? beside : "", UserSettingsPath());
}

TForm1::TForm1(TSettingsPlaces settings) : QWidget(nullptr), settings_(std::move(settings)) {
  setObjectName("Form1");
  setWindowTitle("Kesto");
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
  setFixedSize(146, 478);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Button));
  setPalette(pal);
  setAutoFillBackground(true);
  // The captions were laid out for a 12-pixel Japanese face; the toolkit's
  // default face needs a pixel less to fit the same buttons.
  QFont f = font();
  f.setPixelSize(11);
  setFont(f);
  move(0, 0);

  KestoForm = new TKestoForm(this);

  Panel_Main = Group("Panel_Main", Label7, "Main", 0, 96);
  Bt_Load = Button(Panel_Main, "Bt_Load", "File Load", 5, 20, 56, 21, "Load Data File");
  Bt_Open = Button(Panel_Main, "Bt_Open", "View Open", 65, 20, 76, 21, "Open Graph Window");
  Bt_Save = Button(Panel_Main, "Bt_Save", "Save To File", 5, 45, 136, 21);
  Bt_Animate = Button(Panel_Main, "Bt_Animate", "Anime", 5, 70, 36, 21);
  Bt_Stop = Button(Panel_Main, "Bt_Stop", "Stop", 5, 70, 56, 21);
  Bt_Stop->hide();
  CheckBox1 = new QCheckBox("Save", Panel_Main);
  CheckBox1->setObjectName("CheckBox1");
  CheckBox1->setGeometry(70, 75, 46, 17);
  CheckBox1->setEnabled(false);  // frames of an animation are never saved

  Panel_Graph = Group("Panel_Graph", Label2, "Graph", 95, 191);
  Bt_DrawMode = Button(Panel_Graph, "Bt_DrawMode", "2D-3D", 5, 20, 91, 36, "Change View Mode");
  Bt_Rise = Button(Panel_Graph, "Bt_Rise", "Rise", 100, 20, 41, 16);
  Bt_Fall = Button(Panel_Graph, "Bt_Fall", "Fall", 100, 40, 41, 16);
  Bt_SurfaceMode = Button(Panel_Graph, "Bt_SurfaceMode", "Surface", 5, 60, 91, 21);
  CmbB_LineWidth = WidthBox(Panel_Graph, "CmbB_LineWidth", ItemList(kLineWidthItems), 100, 61, 41,
                            &TForm1::CmbB_LineWidthChange);
  Bt_Color_Low = Button(Panel_Graph, "Bt_Color_Low", "Low", 5, 85, 36, 16);
  Bt_Color_High = Button(Panel_Graph, "Bt_Color_High", "High", 45, 85, 36, 16);
  Bt_Color_BackGround = Button(Panel_Graph, "Bt_Color_BackGround", "Back", 100, 85, 41, 16);
  PB_Low = Swatch(Panel_Graph, "PB_Low", &KestoForm->ColorMin, 5, 105, 36);
  PB_High = Swatch(Panel_Graph, "PB_High", &KestoForm->ColorHigh, 45, 105, 36);
  PB_Back = Swatch(Panel_Graph, "PB_Back", &KestoForm->ColorBackGround, 100, 105, 41);
  CB_Spec = new QCheckBox("Spectrum", Panel_Graph);
  CB_Spec->setObjectName("CB_Spec");
  CB_Spec->setGeometry(5, 125, 90, 17);
  connect(CB_Spec, &QCheckBox::toggled, this, [this] { ReportErrors([this] { CB_SpecClick(); }); });
  Label4 = RangeLabel(Panel_Graph, "Label4", "X-Range=[0,0]", 145);
  Label5 = RangeLabel(Panel_Graph, "Label5", "Y-Range=[0,0]", 160);
  Label6 = RangeLabel(Panel_Graph, "Label6", "Z-Range=[0,0]", 175);

  Panel_Axis = Group("Panel_Axis", Label1, "Axis", 285, 91);
  Bt_AxisMode = Button(Panel_Axis, "Bt_AxisMode", "On-Off", 5, 20, 86, 21);
  CmbB_AxisWidth = WidthBox(Panel_Axis, "CmbB_AxisWidth", ItemList(kAxisWidthItems), 95, 20, 46,
                            &TForm1::CmbB_AxisWidthChange);
  Bt_Color_Axis_X = Button(Panel_Axis, "Bt_Color_Axis_X", "X-Color", 5, 45, 46, 16);
  Bt_Color_Axis_Y = Button(Panel_Axis, "Bt_Color_Axis_Y", "Y-Color", 50, 45, 46, 16);
  Bt_Color_Axis_Z = Button(Panel_Axis, "Bt_Color_Axis_Z", "Z-Color", 95, 45, 46, 16);
  PB_Axis_X = Swatch(Panel_Axis, "PB_Axis_X", &KestoForm->ColorAxisX, 5, 65, 46);
  PB_Axis_Y = Swatch(Panel_Axis, "PB_Axis_Y", &KestoForm->ColorAxisY, 50, 65, 46);
  PB_Axis_Z = Swatch(Panel_Axis, "PB_Axis_Z", &KestoForm->ColorAxisZ, 95, 65, 46);

  Panel_Control = Group("Panel_Control", Label3, "Control", 375, 101);
  Bt_Up = Button(Panel_Control, "Bt_Up", "U", 50, 25, 36, 16);
  Bt_Left = Button(Panel_Control, "Bt_Left", "L", 25, 45, 21, 31);
  Bt_Near = Button(Panel_Control, "Bt_Near", "Near", 50, 45, 36, 16);
  Bt_Far = Button(Panel_Control, "Bt_Far", "Far", 50, 60, 36, 16);
  Bt_Right = Button(Panel_Control, "Bt_Right", "R", 90, 45, 21, 31);
  Bt_Down = Button(Panel_Control, "Bt_Down", "D", 50, 80, 36, 16);

  ColorDialog1 = new QColorDialog(this);
  ColorDialog1->setObjectName("ColorDialog1");
  ColorDialog1->setOption(QColorDialog::DontUseNativeDialog);
  OpenDialog1 = new QFileDialog(this);
  OpenDialog1->setObjectName("OpenDialog1");
  OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
  OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  OpenDialog1->setFileMode(QFileDialog::AnyFile);  // a name that does not exist is taken too
  SavePictureDialog1 = new QFileDialog(this);
  SavePictureDialog1->setObjectName("SavePictureDialog1");
  SavePictureDialog1->setOption(QFileDialog::DontUseNativeDialog);
  SavePictureDialog1->setOption(QFileDialog::DontConfirmOverwrite);
  SavePictureDialog1->setAcceptMode(QFileDialog::AcceptSave);
  SavePictureDialog1->setDefaultSuffix("bmp");
  SavePictureDialog1->setNameFilters(QtNameFilters(QString::fromUtf8(kPictureFilter)));
  for (QFileDialog* dialog : {OpenDialog1, SavePictureDialog1}) WatchFolder(dialog, false);

  setAcceptDrops(true);
  KestoForm->setAcceptDrops(true);
  KestoForm->DropFile = [this](QDropEvent* event) { dropEvent(event); };
  KestoForm->DragFile = [this](QDragMoveEvent* event) { AcceptDrag(event); };
  KestoForm->ReloadFile = [this] { Reload(); };
  KestoForm->StopLoad = [this] { CancelLoad(); };
  nextStep_.setSingleShot(true);
  connect(&nextStep_, &QTimer::timeout, this,
          [this] { ReportErrors([this] { AnimationStep(); }); });
  KestoForm->ColoringChanged = [this] { ShowColoring(); };

  FormCreate();
}

void TForm1::FormCreate() {
  for (const std::string& place : {settings_.BesideProgram, settings_.UserFolder})
    if (!place.empty()) RemoveStaleTemporaries(place);
  const TSettingsFile ini = ReadSettings(settings_);
  if (!ini.Problem().empty())
    ShowErrorReport(QString::fromStdString(ini.Problem() + " The first-run settings are used."));
  const TStoredSettings st = ReadStoredSettings(ini);
  TKestoForm& k = *KestoForm;
  PlaceWindow(this, st.FormLeft, st.FormTop, QPoint(0, 0));
  // The selection alone: the change handlers run below.
  CmbB_LineWidth->setCurrentIndex(int(st.Options[kLineWidthRow]));
  CmbB_AxisWidth->setCurrentIndex(int(st.Options[kAxisWidthRow]));
  k.SetClientSize(std::clamp(st.ClientWidth, 1, kMaxClientSize),
                  std::clamp(st.ClientHeight, 1, kMaxClientSize));
  PlaceWindow(&k, st.Left, st.Top, QPoint(kGraphWindowLeft, kGraphWindowTop));
  ApplyStoredView(st, k);
  if (!st.LoadFolder.empty()) folders_ = QStringList{QString::fromStdString(st.LoadFolder)};

  ShowColoring();
  ReportErrors([this] { CmbB_LineWidthChange(); });
  ReportErrors([this] { CmbB_AxisWidthChange(); });

  k.show();
  ReportErrors([&k] { k.MakeList(kMaskAll); });
}

void TForm1::FormClose() {
  const TKestoForm& k = *KestoForm;
  TStoredSettings st;
  st.FormTop = y();
  st.FormLeft = x();
  st.Top = k.y();
  st.Left = k.x();
  st.ClientWidth = k.ClientWidth();
  st.ClientHeight = k.ClientHeight();
  CaptureStoredView(k, st);
  // What the boxes show, a typed width that names no item included.
  st.Options[kLineWidthRow] = SelectedItem(CmbB_LineWidth);
  st.Options[kAxisWidthRow] = SelectedItem(CmbB_AxisWidth);
  if (!folders_.isEmpty()) st.LoadFolder = folders_.first().toStdString();
  TSettingsFile ini = ReadSettings(settings_);
  WriteStoredSettings(ini, st);
  SaveSettings(ini, settings_);
}

QFrame* TForm1::Group(const char* name, QLabel*& title, const char* caption, int top, int height) {
  QFrame* group = new QFrame(this);
  group->setObjectName(name);
  group->setFrameStyle(QFrame::Box | QFrame::Plain);
  group->setGeometry(0, top, 146, height);
  title = new QLabel(caption, group);
  QFont f = title->font();
  f.setPixelSize(16);
  f.setBold(true);
  title->setFont(f);
  title->move(5, 0);
  return group;
}

QPushButton* TForm1::Button(QWidget* group, const char* name, const char* caption, int x, int y,
                            int w, int h, const char* tooltip) {
  QPushButton* b = new QPushButton(caption, group);
  b->setObjectName(name);
  b->setGeometry(x, y, w, h);
  if (tooltip) b->setToolTip(tooltip);
  connect(b, &QPushButton::clicked, this, [this, b] { ReportErrors([this, b] { Bt_Click(b); }); });
  return b;
}

QComboBox* TForm1::WidthBox(QWidget* group, const char* name, const QStringList& items, int x,
                            int y, int w, void (TForm1::*change)()) {
  QComboBox* box = new QComboBox(group);
  box->setObjectName(name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->addItems(items);
  box->setCurrentIndex(0);
  box->setGeometry(x, y, w, 20);
  auto run = [this, change] { ReportErrors([this, change] { (this->*change)(); }); };
  connect(box, &QComboBox::activated, this, run);
  // Typed text counts once it is confirmed, and only if it names an item.
  connect(box->lineEdit(), &QLineEdit::returnPressed, this, [box, run] {
    const int item = box->findText(box->currentText());
    if (item >= 0) box->setCurrentIndex(item);
    run();
  });
  return box;
}

TSwatch* TForm1::Swatch(QWidget* group, const char* name, const int32_t* color, int x, int y,
                        int w) {
  TSwatch* s = new TSwatch(color, group);
  s->setObjectName(name);
  s->setGeometry(x, y, w, 16);
  return s;
}

QLabel* TForm1::RangeLabel(QWidget* group, const char* name, const char* caption, int y) {
  QLabel* l = new QLabel(caption, group);
  l->setObjectName(name);
  l->setGeometry(5, y, 136, 14);
  return l;
}

int TForm1::SelectedItem(const QComboBox* box) {
  const int item = box->currentIndex();
  return item >= 0 && box->itemText(item) == box->currentText() ? item : -1;
}

void TForm1::Bt_Click(QPushButton* sender) {
  TKestoForm& k = *KestoForm;
  if (sender == Bt_Open) {
    k.show();
    k.raise();
    k.MakeList(kMaskAll);
  } else if (sender == Bt_Up) {
    k.Angle2 += 5;
  } else if (sender == Bt_Down) {
    k.Angle2 -= 5;
  } else if (sender == Bt_Left) {
    k.Angle3 -= 5;
  } else if (sender == Bt_Right) {
    k.Angle3 += 5;
  } else if (sender == Bt_Rise) {
    BusyRebuild([&k] { k.HeightScale += 0.05; }, kMaskAll);
  } else if (sender == Bt_Fall) {
    BusyRebuild([&k] { k.HeightScale -= 0.05; }, kMaskAll);
  } else if (sender == Bt_Far) {
    k.Distance += 0.1;
  } else if (sender == Bt_Near) {
    k.Distance -= 0.1;
  } else if (sender == Bt_DrawMode) {
    k.DrawMode += 1;
  } else if (sender == Bt_SurfaceMode) {
    k.SurfaceMode += 1;
  } else if (sender == Bt_AxisMode) {
    k.AxisMode += 1;
  } else if (sender == Bt_Load) {
    LoadSequence();
  } else if (sender == Bt_Animate) {
    AnimeSequence();
  } else if (sender == Bt_Stop) {
    StopRequested = true;
  } else if (sender == Bt_Save) {
    SaveSequence();
  } else if (sender == Bt_Color_Low) {
    ColorSequence(k.ColorMin, kMaskGraphs, true);
  } else if (sender == Bt_Color_High) {
    ColorSequence(k.ColorHigh, kMaskGraphs, true);
  } else if (sender == Bt_Color_BackGround) {
    ColorSequence(k.ColorBackGround, 0, false);
  } else if (sender == Bt_Color_Axis_X) {
    ColorSequence(k.ColorAxisX, kMaskAxes, false);
  } else if (sender == Bt_Color_Axis_Y) {
    ColorSequence(k.ColorAxisY, kMaskAxes, false);
  } else if (sender == Bt_Color_Axis_Z) {
    ColorSequence(k.ColorAxisZ, kMaskAxes, false);
  }
  FormPaint();
  k.DrawGraph();
}

void TForm1::AnimeSequence() {
  // Work still to be done for the graph is finished by the first step.
  if (KestoForm->DrawMode != kDrawMode3D) return;
  Bt_Animate->hide();
  Bt_Stop->show();
  Animate();
}

void TForm1::BusyRebuild(const std::function<void()>& change, int32_t mask) {
  // The change comes after the label is up: a frame drawn meanwhile (an expose) would
  // otherwise start the rebuild before the label shows.
  ShowBusy();
  const TOnExit hide([this] { HideBusyWhenDone(); });
  change();
  KestoForm->MakeList(mask);
}

void TForm1::HideBusyWhenDone() {
  KestoForm->Scheduler.WhenIdle([this] {
    if (!loading_) KestoForm->Label1->hide();  // a load begun meanwhile keeps it
  });
}

void TForm1::ShowBusy() {
  QLabel* label = KestoForm->Label1;
  label->show();
  label->raise();
  // The label is a window of its own, painted once the window system has shown it.
  if (KestoForm->isVisible()) KestoForm->Scheduler.WaitForExpose(label->windowHandle(), 500);
}

void TForm1::ColorSequence(int32_t& target, int32_t rebuildMask, bool busy) {
  const TRgb c = UnpackColor(ResolveColor(target));
  ColorDialog1->setCurrentColor(QColor(c.R, c.G, c.B));
  if (ColorDialog1->exec() != QDialog::Accepted) return;
  const QColor chosen = ColorDialog1->selectedColor();
  const auto change = [&target, &chosen] {
    target = int32_t(PackColor(chosen.red(), chosen.green(), chosen.blue()));
  };
  if (busy) return BusyRebuild(change, rebuildMask);
  change();
  if (rebuildMask != 0) KestoForm->MakeList(rebuildMask);
}

void TForm1::LoadSequence() {
  if (!folders_.isEmpty()) {
    OpenDialog1->setDirectory(folders_.first());
    OpenDialog1->setHistory(folders_);
  }
  if (!RunFileDialog(OpenDialog1)) return;
  Watch.reset();  // a file chosen by hand takes the place of the watched one
  LoadFile(OpenDialog1->selectedFiles().first());
}

void TForm1::LoadFile(const QString& path, TLoadFailed failed) {
  CancelLoad();  // the latest file asked for wins
  const auto known = rasters_.find(path);
  const std::optional<TRasterChoice> raster = ChooseRaster(
      this, path, known == rasters_.end() ? std::nullopt : std::optional(known->second));
  if (!raster) return;  // the chooser was cancelled: the graph stays as it was
  loading_ = true;
  KestoForm->ShowProgress(TKestoForm::TWork::Load, 0.0);
  setEnabled(false);
  ShowBusy();
  if (!failed)
    failed = [](const std::exception_ptr& e) { ReportErrors([&e] { std::rethrow_exception(e); }); };
  LoadDataFile(
      path.toLocal8Bit().toStdString(), *raster,
      [this, path, raster = *raster](const TDataFileNotes& notes) {
        rasters_[path] = raster;
        Loaded(path, notes);
      },
      [this, failed](const std::exception_ptr& e) {
        EndLoad();
        failed(e);
      });
}

void TForm1::Loaded(const QString& path, const TDataFileNotes& notes) {
  {
    const TOnExit done([this] { EndLoad(); });
    KestoForm->MakeList(kMaskAll);
    // What the replaced grid and its lists held goes back to the system.
    malloc_trim(0);
  }
  watchError_.clear();
  const std::string warning = NotNumbersWarning(notes);
  TellLoad(ReadSummary(path.toLocal8Bit().toStdString(), notes, *KestoForm) +
           (warning.empty() ? "" : "\nwarning: " + warning));
  LoadedFile = path;
  ++FilesLoaded;
  const QString folder = QFileInfo(path).absolutePath();
  folders_.removeAll(folder);
  folders_.prepend(folder);
  while (folders_.size() > 10) folders_.removeLast();
  FormPaint();
  KestoForm->DrawGraph();
}

void TForm1::EndLoad() {
  if (!loading_) return;
  loading_ = false;  // before the label's hide, which may run at once
  KestoForm->ShowProgress(TKestoForm::TWork::Load, std::nullopt);
  HideBusyWhenDone();
  setEnabled(true);
}

void TForm1::CancelLoad() {
  read_.reset();
  EndLoad();
}

bool TForm1::Busy() const {
  return loading_ || nextStep_.isActive() || KestoForm->Scheduler.Busy();
}

void TForm1::OpenFile(const QString& path, bool watch) {
  Watch.reset();
  if (!watch) return LoadFile(path);
  Watch = std::make_unique<TFileWatch>(path, [this] { WatchedFileChanged(); });
  WatchedFileChanged();
}

void TForm1::Reload() {
  if (LoadedFile.isEmpty() || loading_) return;
  LoadFile(LoadedFile);
}

// A file being written may be refused for a moment: no box to answer, only the load
// label until the next load, and standard error once, not at every change that fails
// the same way.
void TForm1::WatchedFileChanged() {
  if (loading_) {
    Watch->Again();
    return;
  }
  LoadFile(Watch->Path(), [this](const std::exception_ptr& error) {
    try {
      std::rethrow_exception(error);
    } catch (const TCancelled&) {
    } catch (const std::exception& e) {
      KestoForm->ShowLoadNote(QString::fromLocal8Bit(e.what()));
      if (e.what() == watchError_) return;
      watchError_ = e.what();
      std::fprintf(stderr, "kesto: %s\n", e.what());
    }
  });
}

void TForm1::TellLoad(const std::string& text) {
  KestoForm->ShowLoadNote(QString::fromStdString(text));
  for (const QString& line : QString::fromStdString(text).split('\n'))
    std::fprintf(stderr, "kesto: %s\n", line.toLocal8Bit().constData());
}

namespace {

// The one local file that a drag carries, or nothing.
QString DraggedFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().first();
  return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event) { AcceptDrag(event); }

void TForm1::AcceptDrag(QDragMoveEvent* event) {
  if (!DraggedFile(event->mimeData()).isEmpty())
    event->acceptProposedAction();
  else
    event->ignore();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QString file = DraggedFile(event->mimeData());
  if (file.isEmpty()) return;
  event->acceptProposedAction();
  // After the drop has ended: the source waits for its answer meanwhile.
  QTimer::singleShot(0, this, [this, file] { OpenFile(file); });
}

void TForm1::LoadDataFile(const std::string& fileName, const TRasterChoice& raster,
                          std::function<void(const TDataFileNotes&)> done, TLoadFailed failed) {
  TKestoForm& k = *KestoForm;
  read_ = std::make_unique<TBackgroundRead>(
      this, fileName, raster, k.Renderer.MostPointsToRead(k),
      [this, &k, done = std::move(done), failed = std::move(failed)](TBackgroundRead::TResult& r) {
        ReportErrors([&] {
          try {
            if (r.Error) std::rethrow_exception(r.Error);
            // A grid too large to draw leaves the graph shown as it was.
            k.Renderer.CheckRoomForGrid(k, r.Grid);
          } catch (...) {
            read_.reset();
            return failed(std::current_exception());
          }
          static_cast<TGridData&>(k) = std::move(r.Grid);
          const TDataFileNotes notes = std::move(r.Notes);
          read_.reset();
          done(notes);
        });
      },
      [&k](double done) { k.ShowProgress(TKestoForm::TWork::Load, done); });
}

void TForm1::SaveSequence() {
  if (RunFileDialog(SavePictureDialog1))
    KestoForm->SaveToBitmap(SavePictureDialog1->selectedFiles().first());
}

void TForm1::Animate() {
  StopRequested = false;
  // On a large grid the steps show previews, and the run ends at the exact frame.
  animationPreviews_ = TFrameRenderer::WantsPreview(*KestoForm);
  animationStep_ = 0;
  nextStep_.start(0);
}

void TForm1::AnimationStep() {
  if (StopRequested || animationStep_ > 360 || KestoForm->Scheduler.Abandoned())
    return EndAnimation(!KestoForm->Scheduler.Abandoned());
  try {
    KestoForm->Angle3 += 1.0;
    if (animationPreviews_)
      KestoForm->DrawPreviewGraph();
    else
      KestoForm->FinishGraph();
  } catch (...) {
    EndAnimation(false);
    throw;
  }
  ++animationStep_;
  nextStep_.start(0);
}

void TForm1::EndAnimation(bool drawExact) {
  Bt_Stop->hide();
  Bt_Animate->show();
  StopRequested = false;
  if (drawExact && animationPreviews_) KestoForm->DrawGraph();
}

void TForm1::CmbB_LineWidthChange() {
  const int item = SelectedItem(CmbB_LineWidth);
  if (item < 0) return;  // typed text that names no item: the width stays
  KestoForm->LineWidth = *WidthOfItem(kDisplayOptions[kLineWidthRow], item);
  KestoForm->MakeList(kMaskGraphs);
  KestoForm->DrawGraph();
}

void TForm1::CmbB_AxisWidthChange() {
  const int item = SelectedItem(CmbB_AxisWidth);
  if (item < 0) return;
  KestoForm->AxisWidth = *WidthOfItem(kDisplayOptions[kAxisWidthRow], item);
  KestoForm->MakeList(kMaskAxes);
  KestoForm->DrawGraph();
}

void TForm1::CB_SpecClick() {
  KestoForm->Spec = CB_Spec->isChecked() ? 1 : 0;
  // Back to the window's own two colourings, the right way round.
  KestoForm->Palette = kPaletteOwn;
  KestoForm->ReversePalette = 0;
  ShowColoring();
  KestoForm->MakeList(kMaskGraphs);
  KestoForm->DrawGraph();
}

void TForm1::ShowColoring() {
  const QSignalBlocker quiet(CB_Spec);
  const bool on = KestoForm->Spec == 1;
  CB_Spec->setChecked(on);
  Bt_Color_High->setEnabled(!on);
  Bt_Color_Low->setEnabled(!on);
  PB_High->setVisible(!on);
  PB_Low->setVisible(!on);
}

void TForm1::FormPaint() {
  const TKestoForm& k = *KestoForm;
  SetTextIfChanged(Label4, "X:[" + RangeNumber(k.XMin) + "," + RangeNumber(k.XMax) + "]");
  SetTextIfChanged(Label5, "Y:[" + RangeNumber(k.YMin) + "," + RangeNumber(k.YMax) + "]");
  SetTextIfChanged(Label6, "Z:[" + RangeNumber(k.ZMin) + "," + RangeNumber(k.ZMax) + "]");
  for (TSwatch* s : {PB_Low, PB_High, PB_Back, PB_Axis_X, PB_Axis_Y, PB_Axis_Z})
    if (s->isVisible()) s->Refresh();
}

void TForm1::paintEvent(QPaintEvent*) { FormPaint(); }

void TForm1::closeEvent(QCloseEvent* event) {
  // A running animation, load, rebuild or frame ends with the program, unfinished.
  StopRequested = true;
  CancelLoad();
  KestoForm->Abandon();
  ReportErrors([this] { FormClose(); });
  event->accept();  // the program ends even when the settings could not be saved
}
