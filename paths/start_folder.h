// The folder Corvane started in, against which relative names are taken: the file dialogs move
// the current folder when the user goes into a folder in them.
#pragma once

// Called at start-up, before anything can move the current folder.
void keepStartFolder();

// Makes the start folder current again; called after each file dialog.
void returnToStartFolder();
