// Clips of sound and video quizzes: written to a file and played in a hosted player control.
#pragma once

#include <windows.h>

// Icons of the play and stop buttons, loaded by createMediaPlayer.
extern HICON playIcon;
extern HICON stopIcon;

// At start-up, for a sound or video quiz: the hosting library and COM.
void startMedia();
// While the board is built (sound and video boards): the icons and the player control.
void createMediaPlayer(HWND board);
// The play button of question n, and any stop button.
void playClip(HWND board, int question);
void stopClip(int question);
// At shut-down: deletes the clip files, destroys the main window, ends COM.
void shutdownMedia(HWND mainWindow);
