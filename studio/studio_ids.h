// The studio's controls, commands and messages.
#pragma once

#include <windows.h>

enum StudioControl : int {
    // The toolbar and the drop area.
    kNewButton = 100,
    kOpenButton,
    kAddButton,
    kSaveButton,
    kSaveAsButton,
    kBuildButton,
    kTryButton,
    kDropHint,
    kOpenFolderButton,
    kOpenSourceButton,
    kOpenExecutableButton,
    // The quiz.
    kTitleField = 200,
    kCreatorField,
    kExplanationField,
    kAnswerCountBox,
    kFirstLabelField,
    kSecondLabelField,
    kColourButton,
    kColourSwatch,
    kRewardBox,
    kCodesField,
    // The questions.
    kQuestionList = 300,
    kPreview,
    kAnswerField,
    kSecondAnswerField,
    kQuestionTextField,
    kRewardTextField,
    kMoveUpButton,
    kMoveDownButton,
    kRemoveButton,
    kPlayClipButton,
    kTurnLeftButton,
    kTurnRightButton,
    kTryAnswerField,
    kTryVerdict, // and the second answer's after it
    kTrySecondVerdict,
    kVariantList,
    kRewardPictureButton,
    kShowRewardCheck,
    // The checks.
    kCheckList = 400,
    kCheckSummary,
    // Keyboard-only commands.
    kOpenCommand = 500,
    kMoveUpCommand,
    kMoveDownCommand,
    kUndoCommand,
    kRedoCommand,
    // The build window.
    kBuildProgress = 600,
    kBuildStatus,
    kBuildCancel,
    kBuildPlay,
    kBuildShowFolder,
    kBuildClose,
};

enum StudioMessage : UINT {
    kThumbnailReady = WM_APP + 1, // lParam: an owned PreparedThumbnail*
    kOpenPath,                    // lParam: const std::filesystem::path*; answers 1 when opened
    kBuildAdvanced,               // wParam: questions done, lParam: of how many
    kBuildFinished,               // lParam: an owned BuildOutcome*
    kTrialReady,                  // lParam: an owned QuizResources*, built for a try
    kOfferRecovery,               // at start: quizzes a studio left unsaved
};

constexpr UINT_PTR kCheckTimer = 1;
constexpr UINT kCheckPauseMs = 400;
// The quiz is kept for recovery this long after the author's last change.
constexpr UINT_PTR kRecoveryTimer = 2;
constexpr UINT kRecoveryPauseMs = 2000;
