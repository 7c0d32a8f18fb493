// The viewer draws each committed reference picture, its lists split into pieces of a
// few cells, exactly as kesto-render drew it in one piece.
#include "PanelFixture.h"
#include "ReferenceCases.h"
#include "app/GLSurface.h"
#include "core/DataFile.h"
#include "kesto-render/RenderState.h"

namespace {

class ViewerReference : public PanelTest, public ::testing::WithParamInterface<TCase> {};

TEST_P(ViewerReference, DrawnInSmallPiecesIsTheCommittedPicture) {
  const TCase& c = GetParam();
  std::vector<std::string> args{"-o", "unused.png"};
  for (const QString& a : QString(c.Options).split(' ', Qt::SkipEmptyParts))
    args.push_back(a.toStdString());
  TTempDir dir;
  if (c.Settings) args.insert(args.end(), {"--settings", dir.File("k.INI", c.Settings)});
  args.push_back(std::string(KESTO_REFERENCE_DIR) + "/data/" + c.Data);
  const TRenderOptions o = ParseRenderOptions(args);
  static_cast<TGridData&>(*k_) = ReadDataFile(o.Input);
  int width = kDefaultClientWidth, height = kDefaultClientHeight;
  ApplyRenderOptions(o, *k_, width, height);
  k_->SetClientSize(width, height);
  ASSERT_TRUE(QTest::qWaitFor([&] { return k_->WindowDC->size() == QSize(width, height); }));
  k_->Renderer.PieceVertices = 24;
  k_->MakeList(kMaskAll);
  ASSERT_GT(ListPieces(*k_, k_->DrawMode == kDrawMode3D ? kList3DMesh : kList2DMesh, 24), 20);

  const QImage reference(QString(KESTO_REFERENCE_DIR) + "/images/" + c.Name + ".png");
  QImage difference;
  EXPECT_EQ(Compare(Capture(*k_), reference, difference), 0);
}

// A capture is always of a full frame, never of the quick one.
std::vector<TCase> FullFrames() {
  std::vector<TCase> cases;
  for (const TCase& c : kCases)
    if (!QString(c.Options).contains("--coarse")) cases.push_back(c);
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, ViewerReference, ::testing::ValuesIn(FullFrames()),
                         [](const ::testing::TestParamInfo<TCase>& info) {
                           return QString(info.param.Name).remove('-').toStdString();
                         });

}  // namespace
