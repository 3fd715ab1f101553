#include "screens/GameScreenOptions.h"

#include "core/Messages.h"
#include "core/StringUtils.h"
#include "localisation/MultiLanguages.h"
#include "screens/ScreenSupport.h"
#include "services/IEngineOptions.h"
#include "widgets/IEventHandler.h"

namespace qv {

std::string NextWindowScale(const std::string& scale) {
  if (scale == "1") return "2";
  if (scale == "2") return "3";
  if (scale == "3") return "fit";
  return "1";
}

std::string NextLanguage(const std::string& current, const std::vector<std::string>& languages) {
  if (current.empty()) return languages.empty() ? std::string() : languages.front();
  for (size_t i = 0; i < languages.size(); ++i)
    if (SameText(languages[i], current)) return i + 1 < languages.size() ? languages[i + 1] : std::string();
  return {};
}

namespace {

constexpr const char* kWindowScales[] = {"1", "2", "3", "fit"};

constexpr int kTrackBarChanged = 3;

// A check box from a "yes"/"no" option, hidden without a value.
void FillCheckBox(IWidget* box, const TVariant& value) {
  if (!box) return;
  box->SetVisible(!VarIsEmpty(value));
  box->SetPropertyValue("CheckBoxState", SameText(VarToString(value), "yes"));
}

// A track bar from a numeric option (0 when it is no number), hidden
// without a value.
void FillTrackBar(IWidget* bar, const TVariant& value) {
  if (!bar) return;
  bar->SetVisible(!VarIsEmpty(value));
  long long number = 0;
  if (!TryParseInt(VarToString(value), number)) number = 0;
  bar->SetPropertyValue("position", static_cast<int>(number));
}

}  // namespace

void TGameScreenOptions::SetOwner(IGameScreenOwner* game) {
  TGameScreen::SetOwner(game);
  showHints_ = FindWidget("checkbox_showhints");
  screenMode_ = FindWidget("checkbox_screenmode");
  soundVolume_ = FindWidget("trackbar_soundvolume");
  musicVolume_ = FindWidget("trackbar_musicvolume");
  smoothScaling_ = FindWidget("checkbox_smoothscaling");
  colourBlind_ = FindWidget("checkbox_colourblind");
}

void TGameScreenOptions::ShowWindowScale() {
  auto* engine = QueryPtr<IEngineOptions>(GetEngine());
  const std::string scale = engine ? VarToString(engine->GetOption("WindowScale")) : std::string();
  for (const char* each : kWindowScales)
    if (const Ref<IWidget> label = FindWidget(std::string("label_windowscale_") + each))
      label->SetVisible(scale == each);
}

void TGameScreenOptions::ShowLanguage() {
  auto* engine = QueryPtr<IEngineOptions>(GetEngine());
  const bool shown = engine && !VarIsEmpty(engine->GetOption(kLanguageOption));
  if (const Ref<IWidget> label = FindWidget("label_language_name")) {
    label->SetVisible(shown);
    // The language's own name, literally (a "%" in it is no macro).
    label->SetPropertyValue("text", ReplaceAll(GetLanguageName(), "%", "%%"));
  }
  for (const char* name : {"label_language", "button_language"})
    if (const Ref<IWidget> widget = FindWidget(name)) widget->SetVisible(shown);
}

void TGameScreenOptions::Detach() {
  showHints_ = screenMode_ = soundVolume_ = musicVolume_ = smoothScaling_ = nullptr;
  colourBlind_ = nullptr;
  TGameScreen::Detach();
}

void TGameScreenOptions::BeforeShow(IParamCollection* params) {
  (void)params;
  IGameScreenOwner* game = GetScreenOwnerInterface();
  auto* engine = QueryPtr<IEngineOptions>(GetEngine());
  const auto option = [engine](const char* name) { return engine ? engine->GetOption(name) : TVariant(); };
  FillCheckBox(screenMode_.get(), option("FullScreenMode"));
  FillCheckBox(showHints_.get(), game ? game->GetOptionValue("ShowHints") : TVariant());
  FillTrackBar(soundVolume_.get(), option("SoundVolume"));
  FillTrackBar(musicVolume_.get(), option("MusicVolume"));
  FillCheckBox(smoothScaling_.get(), option("SmoothScaling"));
  FillCheckBox(colourBlind_.get(), option("ColourBlind"));
  ShowWindowScale();
  ShowLanguage();
}

void TGameScreenOptions::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (!sender || !game) return;
  const auto checked = [sender] {
    return VarToBool(sender->GetPropertyValue("CheckBoxState")) ? "yes" : "no";
  };
  const auto position = [sender] { return std::to_string(VarToInt(sender->GetPropertyValue("position"))); };
  if (code == ccStateChanged && sender == screenMode_.get()) {
    game->SetOption("FullScreenMode", checked());
  } else if (code == ccStateChanged && sender == showHints_.get()) {
    game->SetOption("ShowHints", checked());
  } else if (code == ccStateChanged && sender == smoothScaling_.get()) {
    game->SetOption("SmoothScaling", checked());
  } else if (code == ccStateChanged && sender == colourBlind_.get()) {
    game->SetOption("ColourBlind", checked());
  } else if (code == ccClick && sender->GetName() == "button_windowscale") {
    auto* engine = QueryPtr<IEngineOptions>(GetEngine());
    game->SetOption("WindowScale",
                    NextWindowScale(engine ? VarToString(engine->GetOption("WindowScale")) : ""));
    ShowWindowScale();
  } else if (code == ccClick && sender->GetName() == "button_language") {
    auto* engine = QueryPtr<IEngineOptions>(GetEngine());
    game->SetOption(
        kLanguageOption,
        NextLanguage(engine ? VarToString(engine->GetOption(kLanguageOption)) : "", ListLanguages()));
    ShowLanguage();
  } else if (code == kTrackBarChanged && sender == soundVolume_.get()) {
    game->SetOption("SoundVolume", position());
    sender->PlaySound("sound_checksoundvolume", true, 100, 0);
  } else if (code == kTrackBarChanged && sender == musicVolume_.get()) {
    game->SetOption("MusicVolume", position());
  } else if (code == ccClick && sender->GetName() == "button_close") {
    game->CloseScreen(this, nullptr);
  } else if (code == ccClick && sender->GetName() == "button_highscores") {
    game->ShowScreen("GS_HighScores", nullptr);
  }
}

bool TGameScreenOptions::KeyEvent(unsigned message, unsigned key, unsigned flags) {
  if (TGameScreen::KeyEvent(message, key, flags)) return true;
  if (!IsActive() || IsHiding() || message != WM_KEYDOWN || key != VK_ESCAPE) return false;
  if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->CloseScreen(this, nullptr);
  return true;
}

}  // namespace qv
