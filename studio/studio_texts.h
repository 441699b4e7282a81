// Every text the studio shows, written once, in French like the player's. UTF-16 escapes keep
// the sources ASCII. Each button of the main window has its own Alt+letter, marked by '&'.
#pragma once

#include <array>

namespace texts {

constexpr const wchar_t* kAppName = L"Plimo Studio";
constexpr const wchar_t* kNewQuiz = L"Nouveau quiz";
// Starts lower in its area, which a wrapping label cannot centre.
constexpr const wchar_t* kDropHint =
    L"\n\n\n"
    L"D\u00e9posez ici un dossier de photos, un quiz.toml ou un quiz .exe";
constexpr const wchar_t* kOpenFolder = L"Ouvrir un &dossier de photos...";
constexpr const wchar_t* kOpenSource = L"Ouvrir un quiz.&toml...";
constexpr const wchar_t* kOpenExecutable = L"Ouvrir un quiz .e&xe...";
constexpr const wchar_t* kNew = L"&Nouveau";
constexpr const wchar_t* kOpen = L"&Ouvrir...";
constexpr const wchar_t* kAddPictures = L"&Ajouter des images...";
constexpr const wchar_t* kSave = L"&Enregistrer";
constexpr const wchar_t* kSaveAs = L"Enregistrer so&us...";
constexpr const wchar_t* kBuild = L"&Cr\u00e9er le quiz...";
constexpr const wchar_t* kTry = L"Essa&yer le quiz (F5)";

constexpr const wchar_t* kTitle = L"Titre";
constexpr const wchar_t* kCreator = L"Auteur";
constexpr const wchar_t* kExplanation = L"Consigne";
constexpr const wchar_t* kAnswerCount = L"R\u00e9ponses par question";
constexpr std::array<const wchar_t*, 2> kAnswerCounts = {L"Une", L"Deux"};
constexpr const wchar_t* kLabels = L"L\u00e9gendes des deux r\u00e9ponses";
constexpr const wchar_t* kColour = L"Cou&leur...";
constexpr const wchar_t* kReward = L"R\u00e9compense";
// By RewardKind.
constexpr std::array<const wchar_t*, 5> kRewards = {L"Aucune", L"Une image", L"Un texte",
                                                    L"Un message", L"Un texte final"};
constexpr const wchar_t* kCodes = L"Codes (un par ligne : le 1er \u00e0 1 point, ...)";

constexpr const wchar_t* kNumberColumn = L"N\u00b0";
constexpr const wchar_t* kAnswerColumn = L"R\u00e9ponse";
constexpr const wchar_t* kSecondAnswerColumn = L"R\u00e9ponse 2";
constexpr const wchar_t* kTextColumn = L"Texte";
constexpr const wchar_t* kRewardColumn = L"R\u00e9compense";

constexpr const wchar_t* kAnswer = L"R\u00e9ponse";
constexpr const wchar_t* kSecondAnswer = L"Deuxi\u00e8me r\u00e9ponse";
constexpr const wchar_t* kQuestionText = L"Texte de la question";
constexpr const wchar_t* kRewardText = L"Texte de r\u00e9compense";
constexpr const wchar_t* kMoveUp = L"&Monter";
constexpr const wchar_t* kMoveDown = L"De&scendre";
constexpr const wchar_t* kRemove = L"Su&pprimer";
constexpr const wchar_t* kPlayClip = L"\u00c9couter / &voir";
constexpr const wchar_t* kNoPicture = L"Pas d'image";
constexpr const wchar_t* kTurnLeft = L"Tourner \u00e0 &gauche";
constexpr const wchar_t* kTurnRight = L"Tourner \u00e0 d&roite";
constexpr const wchar_t* kRewardPicture = L"&Image de r\u00e9compense...";
constexpr const wchar_t* kShowReward = L"A&fficher la r\u00e9compense";
constexpr const wchar_t* kChooseRewardPicture = L"Choisir l'image de r\u00e9compense";
constexpr wchar_t kPictureFilter[] =
    L"Images\0*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.bmp\0Tous les fichiers\0*.*\0";
constexpr const wchar_t* kTryAnswer = L"Essayer une r\u00e9ponse :";
constexpr const wchar_t* kVariants =
    L"Fa\u00e7ons de taper la r\u00e9ponse que le quiz ne prend pas pour juste :";

constexpr const wchar_t* kError = L"Erreur";
constexpr const wchar_t* kWarning = L"Attention";
constexpr const wchar_t* kQuestion = L"question";
constexpr const wchar_t* kReady = L"Aucune erreur : le quiz peut \u00eatre cr\u00e9\u00e9.";
constexpr const wchar_t* kErrorsLeft = L"%d erreur(s) \u00e0 corriger avant de cr\u00e9er le quiz";

constexpr const wchar_t* kSaveQuestion = L"Enregistrer les modifications de \u00ab %ls \u00bb ?";
constexpr const wchar_t* kDontSave = L"Ne pas enregistrer";
constexpr const wchar_t* kAskSave =
    L"Enregistrer les modifications de \u00ab %ls \u00bb ?\n\nOui : enregistrer\nNon : ne pas "
    L"enregistrer\nAnnuler : revenir au quiz";
constexpr const wchar_t* kAskReplace = L"\u00ab %ls \u00bb existe d\u00e9j\u00e0. Le remplacer ?";
constexpr const wchar_t* kSaveFailed = L"Le quiz n'a pas \u00e9t\u00e9 enregistr\u00e9 :";
constexpr const wchar_t* kOpenFailed = L"Impossible d'ouvrir ce quiz :";
constexpr const wchar_t* kOpenWarnings = L"Ouvert, avec ces remarques :";
constexpr const wchar_t* kCannotBuild = L"Le quiz ne peut pas encore \u00eatre cr\u00e9\u00e9 :";
constexpr const wchar_t* kChooseFolder =
    L"Choisissez un dossier de photos, de sons ou de vid\u00e9os";
constexpr const wchar_t* kChooseSaveFolder =
    L"Choisissez le dossier o\u00f9 enregistrer le quiz et ses images";
constexpr const wchar_t* kChooseQuiz = L"Ouvrir un quiz";
constexpr const wchar_t* kChooseMedia = L"Ajouter des images, des sons ou des vid\u00e9os";
constexpr const wchar_t* kChooseSource = L"Enregistrer le quiz";
constexpr const wchar_t* kChooseExecutable = L"Cr\u00e9er le quiz";
// File filters: pairs of a name and its patterns, the list ended by an empty name.
constexpr wchar_t kQuizFilter[] = L"Quiz (quiz.toml, quiz .exe)\0*.toml;*.exe\0Tous les "
                                  L"fichiers\0*.*\0";
constexpr wchar_t kSourceFilter[] = L"Quiz (*.toml)\0*.toml\0";
constexpr wchar_t kExecutableFilter[] = L"Programme (*.exe)\0*.exe\0";
constexpr wchar_t kMediaFilter[] =
    L"Images, sons et vid\u00e9os\0*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.bmp;*.mp3;*.avi\0Tous les "
    L"fichiers\0*.*\0";

constexpr const wchar_t* kBuilding = L"Cr\u00e9ation du quiz";
constexpr const wchar_t* kTrying = L"Pr\u00e9paration de l'essai";
constexpr const wchar_t* kTryFailed = L"Le quiz ne peut pas \u00eatre essay\u00e9 :";
constexpr const wchar_t* kRecover =
    L"Plimo Studio s'est arr\u00eat\u00e9 le %ls sans enregistrer le quiz \u00ab %ls \u00bb (%ls).\n"
    L"Le reprendre tel qu'il \u00e9tait ?";
constexpr const wchar_t* kPreparing = L"Pr\u00e9paration des images : %d sur %d";
constexpr const wchar_t* kWriting = L"\u00c9criture de %ls...";
constexpr const wchar_t* kBuilt = L"Le quiz est pr\u00eat : %ls";
constexpr const wchar_t* kBuildFailed = L"Le quiz n'a pas \u00e9t\u00e9 cr\u00e9\u00e9 :";
constexpr const wchar_t* kCancelled =
    L"Cr\u00e9ation annul\u00e9e : aucun fichier n'a \u00e9t\u00e9 \u00e9crit.";
constexpr const wchar_t* kCancel = L"Annuler";
constexpr const wchar_t* kPlay = L"Jouer";
constexpr const wchar_t* kShowFolder = L"Ouvrir le dossier";
constexpr const wchar_t* kClose = L"Fermer";

} // namespace texts
