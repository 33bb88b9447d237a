// Ids of the plug-in's dialog resources and of their controls. Shared by the resource script
// and the code that runs the dialogs, so plain macros: the resource compiler reads them too.
#pragma once

// Dialogs. A destination dialog's id is 200 + 50 x its ask mode.
#define KESTREL_DIALOG_PROGRESS 100
#define KESTREL_DIALOG_DIRECTORY 250           /* ask mode 1: the drive is fixed */
#define KESTREL_DIALOG_DRIVE 300               /* ask mode 2: the directory is fixed */
#define KESTREL_DIALOG_DRIVE_AND_DIRECTORY 350 /* ask mode 3: the whole path */
#define KESTREL_DIALOG_ASK 601

// Progress dialog.
#define KESTREL_PROGRESS_PROMPT 101
#define KESTREL_PROGRESS_FILE_BAR 102
#define KESTREL_PROGRESS_FILE_NAME 103
#define KESTREL_PROGRESS_DOWNLOAD_BAR 800

// Destination and ASK dialogs: two prompt rows, then the edit boxes.
#define KESTREL_PROMPT_FIRST_ROW 301
#define KESTREL_PROMPT_SECOND_ROW 302
#define KESTREL_DESTINATION_EDIT 204
#define KESTREL_DESTINATION_FIXED_REST 304
#define KESTREL_DESTINATION_FIXED_DRIVE 305
#define KESTREL_ASK_EDIT 701
