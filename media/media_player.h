// Clips of sound and video quizzes: written to a file and played in a hosted player control.
#pragma once

#include <windows.h>

#include <string>

// Icons of the play and stop buttons, loaded by createMediaPlayer; null before.
HICON playIcon();
HICON stopIcon();

// At start-up, for a sound or video quiz: removes the clip folders that players which ended
// without their shut-down left behind, then loads the hosting library and starts COM.
void startMedia();
// While the board is built (sound and video boards): the icons and the player control.
void createMediaPlayer(HWND board);
// Writes the clip resource `resourceId` (400 + question) to its file plimoN.mp3 (clip kind 1, a
// sound) or plimoN.avi (2, a video) in this run's clip folder, which the first call makes under
// the user's temporary folder. Returns 1 when the file was written whole in this call, 0
// otherwise; the window is not used.
int extractMediaClip(HWND window, int resourceId, int clipKind);
// The play button of question n, and any stop button.
void playClip(HWND board, int question);
void stopClip(int question);
// At shut-down: deletes the clip files this run wrote and their folder, destroys the main
// window, ends COM.
void shutdownMedia(HWND mainWindow);

// Test seams. The player never calls these; they let the tests watch the control and stand in
// for what a test cannot have (a missing control) or must not do (launch another program).

// The control's URL as the control reports it (get_URL); empty when there is no control.
std::wstring mediaPlayerUrlForTesting();
// The control's play position in seconds (get_currentPosition); -1 when there is no control or
// nothing is loaded in it. A clip plays while this moves on.
double mediaPositionForTesting();
// While set, createMediaPlayer behaves as if the control were not installed.
void simulateMissingMediaControlForTesting(bool missing);
// Replaces the shell call that opens a clip when the control is missing; null restores it.
using ShellOpenFunction = HINSTANCE(WINAPI*)(HWND owner, LPCWSTR verb, LPCWSTR file,
                                             LPCWSTR parameters, LPCWSTR folder, INT show);
void replaceShellOpenForTesting(ShellOpenFunction open);
// Reports, in order, what the player does to the control and to clip files once it is done:
// "stop" and "close" (the control), "write PATH" and "delete PATH" (a file, by its full name in
// UTF-8).
// Null stops the reports.
using MediaStepObserver = void (*)(const std::string& step);
void observeMediaStepsForTesting(MediaStepObserver observer);
