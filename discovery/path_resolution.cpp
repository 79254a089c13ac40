#include "discovery.h"

#include "../dialog/launcher_dlg.h"
#include "../registry/records.h"
#include "resource.h"

#include <stdio.h>

int FileExists(const char* pszPath) {
    FILE* pFile = fopen(pszPath, "r");
    if (pFile == NULL)
        return 0;
    fclose(pFile);
    return 1;
}

// Paths are joined as they are: one "\" and a name, nothing normalised, so a "Root" that already
// ends in "\" gives two in a row, and the candidate is tested and later started in that form.

void CLauncherDlg::LocateSetup() {
    m_strSetupDir = m_strExeDir + "\\" + m_strSetupDirName;
    m_strSetupExe = m_strSetupDir + "\\" + m_strSetupExeName;
    if (FileExists(m_strSetupExe) == 1)
        return;

    m_strSetupDir.LoadString(IDS_DEV_SETUP_DIR);
    m_strSetupExe = m_strSetupDir + "\\" + m_strSetupExeName;
    if (FileExists(m_strSetupExe) == 1)
        return;

    m_strSetupDir.Empty();
    m_strSetupExe.Empty();
}

void CLauncherDlg::LocateGame() {
    CString strRoot;
    if (g_productKey.GetString("Root", strRoot) == 0) {
        m_strEngineDir = strRoot + "\\" + m_strEngineDirName;
        m_strGameExe = m_strEngineDir + "\\" + m_strGameExeName;
        if (FileExists(m_strGameExe) == 1) {
            m_bDevelopmentPaths = 0;
            return;
        }
    }

    m_strEngineDir = m_strExeDir + "\\" + m_strEngineDirName;
    m_strGameExe = m_strEngineDir + "\\" + m_strGameExeName;
    if (FileExists(m_strGameExe) == 1) {
        m_bDevelopmentPaths = 0;
        return;
    }

    m_strEngineDir.LoadString(IDS_DEV_ENGINE_DIR);
    m_strGameExe = m_strEngineDir + "\\" + m_strGameExeName;
    if (FileExists(m_strGameExe) == 1) {
        m_bDevelopmentPaths = 1;
        return;
    }

    m_strEngineDir.Empty();
    m_strGameExe.Empty();
    m_bDevelopmentPaths = 0;
}
