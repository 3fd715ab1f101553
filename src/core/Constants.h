// Fixed names, files and storage keys of the program.
#pragma once

namespace qv {

inline constexpr char kProductName[] = "Quorvanel";
inline constexpr char kMakerFolderName[] = "TandorGames";
inline constexpr char kGameDescriptionFile[] = "data\\ini\\Zintara.ini";
inline constexpr char kPersistedOptionNames[] =
    ";FullScreenMode;MusicVolume;SoundVolume;ShowHints;WindowScale;SmoothScaling;"
    "Language;ColourBlind;";
inline constexpr char kOptionsFileName[] = "options";
inline constexpr char kLevelRecordTables[] =
    "\\level_record_table={name=relax}\\level_record_table={name=classic}"
    "\\level_record_table={name=duel_computer}";
inline constexpr char kProfilesFileName[] = "users.dat";
inline constexpr char kRecordsFileName[] = "records.dat";
inline constexpr char kHighScoresFileName[] = "highscores.dat";
inline constexpr char kPackageExtension[] = ".tgd";
inline constexpr char kDefaultLanguageFile[] = "lang\\default.lng";

// Storage keys. They are part of the shipped data's format: the game
// description and resource lists, the options file, the level records and
// the profiles are enciphered with them.
inline constexpr char kGameKey[] = "Qv7Ga2meDesc9Rk4Lst";           // 19
inline constexpr char kOptionsKey[] = "Op4tQv9nS2kYe7w";            // 15
inline constexpr char kRecordsKey[] = "Rc3dQv8LvlR5ecT6bl2";        // 19
inline constexpr char kProfilesKey[] = "Pf6UsQv2rsDat8Kp4Ye9Zn1x";  // 24

static_assert(sizeof(kGameKey) - 1 == 19);
static_assert(sizeof(kOptionsKey) - 1 == 15);
static_assert(sizeof(kRecordsKey) - 1 == 19);
static_assert(sizeof(kProfilesKey) - 1 == 24);

}  // namespace qv
