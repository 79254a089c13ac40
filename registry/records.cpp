#include "records.h"

#include "../dialog/launcher_dlg.h"

void CLauncherDlg::RegisterCdAndUninstall() {
    // "NA" lets another program keep the launcher from recording where the CD is.
    CString strCd;
    if (g_productKey.GetString("CD", strCd) == 1 || !(strCd == "NA"))
        g_productKey.SetString("CD", m_strExeDir);

    CString strUninstall;
    if (g_uninstallKey.GetString("UninstallString", strUninstall) == 1) {
        g_uninstallKey.SetString("DisplayName", "Skellion");
        // Quoted: the system runs this as a command line, and an unquoted path with blanks
        // (C:\Program Files\...) would start C:\Program.exe instead. It still ends in "/u".
        g_uninstallKey.SetString("UninstallString", "\"" + m_strExePath + "\" /u");
    }
}

void SetInstallerRunning(int bRunning) { g_productKey.SetString("IsRunningIS", bRunning != 0 ? "TRUE" : "FALSE"); }

int IsInstallerRunning() {
    CString strValue;
    if (g_productKey.GetString("IsRunningIS", strValue) == 1)
        return 0;
    return strValue == "TRUE" ? 1 : 0;
}

void RemoveRegistryRecords() {
    g_productKey.DeleteKey();
    g_uninstallKey.DeleteKey();
    CRegistryKey productNameKey(HKEY_LOCAL_MACHINE, SK_PRODUCT_NAME_KEY);
    productNameKey.DeleteKey();
    CRegistryKey companyKey(HKEY_LOCAL_MACHINE, SK_COMPANY_KEY);
    companyKey.DeleteKey();
}
