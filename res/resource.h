/* Resource ids of the launcher. Plain #defines only: this header is read
   by the C++ compiler and by windres alike. */

#ifndef SKELLION_RES_RESOURCE_H
#define SKELLION_RES_RESOURCE_H

/* Dialogs */
#define IDD_LAUNCHER_DIALOG             102

/* Icons */
#define IDR_MAINFRAME                   128

/* Bitmaps */
#define IDB_SPLASH                      131

/* Controls of the launcher dialog (Quit is IDCANCEL) */
#define IDC_PLAY                        1001
#define IDC_INSTALL                     1002
#define IDC_FAST_VIDEO                  1005
#define IDC_SAFE_VIDEO                  1006
#define IDC_UNINSTALL                   1009

/* Strings: messages */
#define IDS_ERR_NO_EXE_LOCATION         1
#define IDS_DXSETUP_WRONG_WINDOWS       2
#define IDS_DXSETUP_SOURCE_NOT_FOUND    3
#define IDS_DXSETUP_BAD_SIZE            4
#define IDS_DXSETUP_BAD_DATE            5
#define IDS_DXSETUP_BAD_VERSION         6
#define IDS_DXSETUP_NO_INF              7
#define IDS_DXSETUP_OUT_OF_DISK         8
#define IDS_DXSETUP_NO_WORKING_DIR      9
#define IDS_DXSETUP_INTERNAL            10
#define IDS_DXSETUP_UNKNOWN             11
#define IDS_ASK_DIRECTX                 12
#define IDS_REBOOT_BEFORE_PLAY          13
#define IDS_ASK_REMOVE_RECORDS          14
#define IDS_ASK_INSTALL                 17
#define IDS_DXSETUP_OS_UNSUPPORTED      21
#define IDS_DXSETUP_NT_COMPONENTS       22
#define IDS_UNABLE_TO_LAUNCH            23
#define IDS_UNINSTALL_COMPLETE          31
#define IDS_ALREADY_UNINSTALLED         32
#define IDS_ASK_REBOOT_NOW              33

/* Strings: file and directory names, game arguments */
#define IDS_SETUP_DIR                   16
#define IDS_SETUP_EXE                   19
#define IDS_ENGINE_DIR                  24
#define IDS_GAME_EXE                    26
#define IDS_WINDOWED_ARGS               27
#define IDS_DEVELOPMENT_ARGS            28
#define IDS_DEV_ENGINE_DIR              29
#define IDS_DEV_SETUP_DIR               30

/* Strings in the framework's range: the application title, which the
   framework loads by this id, and the texts numbered next to it */
#define AFX_IDS_APP_TITLE               0xE000
#define IDS_UNSUPPORTED_WINDOWS         0xE001
#define IDS_INSERT_CD                   0xE002

#endif
