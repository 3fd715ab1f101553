#include "board/CombinationTexts.h"

#include "board/GameBoardControl.h"
#include "board/ScenarioHelpers.h"
#include "core/ProcessContext.h"

namespace qv {

namespace {

constexpr const char* kTemplateFactory = "info_text";
constexpr const char* kFlightFactory = "move_score";

}  // namespace

std::string CombinationRowText(const TComboTextRow& row) {
  const auto& hook = ProcessContext().textHook;
  std::string text = hook ? hook(row.key) : row.key;
  if (row.number != 0) text += std::to_string(row.number);
  return text;
}

std::vector<TPoint> CombinationRowPlaces(TPoint centre, int rows, int rowHeight) {
  std::vector<TPoint> places;
  const int top = centre.y - rows * rowHeight / 2;
  for (int i = 0; i < rows; ++i) places.push_back({centre.x, top + i * rowHeight});
  return places;
}

TPoint MeanPoint(const std::vector<TPoint>& points) {
  if (points.empty()) return {0, 0};
  double x = 0, y = 0;
  for (const TPoint& p : points) {
    x += p.x;
    y += p.y;
  }
  return {RoundEven(x / points.size()), RoundEven(y / points.size())};
}

void ShowCombinationTexts(TGameBoardControl& board, const TWaveStep& wave) {
  const std::vector<TComboTextRow> rows =
      CombinationTexts(wave.chainLevel, wave.ColourCells(), wave.CompletedCells(),
                       static_cast<int>(wave.lines.size()), wave.LongestLine());
  if (rows.empty()) return;
  std::vector<TPoint> cells;
  for (const TCellExplosion& cell : wave.cells)
    if (cell.exploded) cells.push_back(board.CellCentre(cell.cell));
  // The template gives the rows' size; its factory is reported when missing.
  const Ref<IWidget> sample = board.CreateWidget(kTemplateFactory, nullptr);
  if (!sample) return;
  const std::vector<TPoint> places =
      CombinationRowPlaces(MeanPoint(cells), static_cast<int>(rows.size()), sample->GetHeight());
  for (size_t i = 0; i < rows.size(); ++i) {
    const TPoint at = places[i];
    const Ref<TParamCollection> params = MakeScenarioParams({{"text_utf8", CombinationRowText(rows[i])},
                                                             {"x1", std::to_string(at.x)},
                                                             {"y1", std::to_string(at.y)},
                                                             {"x2", std::to_string(at.x)},
                                                             {"y2", std::to_string(at.y - kComboRise)},
                                                             {"start_trans_level", "255"},
                                                             {"end_trans_level", "255"},
                                                             {"lifetime", std::to_string(kComboLifetime)},
                                                             {"delay", std::to_string(kComboDelay)},
                                                             {"font", rows[i].font}});
    const Ref<IWidget> flight = board.RunScenario(kFlightFactory, params.get(), false);
    // The flight's text takes the row's font.
    if (const Ref<IWidget> text = flight ? flight->GetChild("text") : nullptr)
      text->SetPropertyValue("resourcename", TVariant(rows[i].font));
  }
}

}  // namespace qv
