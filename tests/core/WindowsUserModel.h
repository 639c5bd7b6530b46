#pragma once

// A small model of a Windows 10 user's registry: one entry of each kind that Windows writes and
// maintains itself or that holds the user's own choice, each naming a file or folder that does
// not exist, as real machines hold them; and beside them the entries of the same neighbourhood
// that a scan still judges.
namespace vantrel::test {

// Entries no scan reports, whatever files exist.
inline constexpr const char* kWindowsOwnedEntries = R"(
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\PushNotifications\wpnidm]
"a1b2c3"="C:\\Users\\u\\AppData\\Local\\Microsoft\\Windows\\Notifications\\wpnidm\\a1b2c3.png"
[HKEY_CURRENT_USER\Software\Microsoft\Speech_OneCore\Isolated\Ab12\HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Speech_OneCore\Voices\Tokens\MSTTS_V110_enUS_EvaM]
"VoicePath"="C:\\Windows\\Speech_OneCore\\Engines\\TTS\\en-US\\M1033Eva"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Speech_OneCore\Preferences]
"UpdateDataDirectory"="C:\\Data\\SharedData\\Speech"
[HKEY_CURRENT_USER\Software\Classes\Local Settings\Software\Microsoft\Windows\CurrentVersion\AppModel\Repository\Packages\Microsoft.App_1.0_x64__8wekyb3d8bbwe]
"PackageRootFolder"="C:\\Program Files\\WindowsApps\\Microsoft.App_1.0_x64__8wekyb3d8bbwe"
[HKEY_CURRENT_USER\Software\Classes\Local Settings\Software\Microsoft\Windows\CurrentVersion\AppContainer\Storage\microsoft.app_8wekyb3d8bbwe]
"Path"="C:\\Users\\u\\AppData\\Local\\Packages\\Microsoft.App_8wekyb3d8bbwe\\AC"
[HKEY_CURRENT_USER\Software\Classes\Local Settings\MrtCache\C:%5CProgram Files%5CWindowsApps%5CApp%5Cresources.pri\1d2e]
"@{App?ms-resource://App/Files/logo.png}"="C:\\Program Files\\WindowsApps\\App\\logo.png"
[HKEY_CURRENT_USER\Software\Classes\Local Settings\Software\Microsoft\Windows\Shell\MuiCache]
"C:\\Old\\tool.exe.FriendlyAppName"="C:\\Old\\tool.exe"
[HKEY_LOCAL_MACHINE\Software\Classes\Extensions\ContractId\Windows.Launch\PackageId\App_1.0\ActivatableClassId\App]
"Icon"="C:\\Program Files\\WindowsApps\\App\\app.exe"
[HKEY_CURRENT_USER\Software\Classes\AppXk8a2ry7yqhsz5jpbh2wjd4ce8hv1tcbz\Shell\open\command]
@="C:\\Program Files\\WindowsApps\\App\\app.exe"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\5.0\Cache\Extensible Cache\MSHist012026120720261208]
"CachePath"="C:\\Users\\u\\AppData\\Local\\Microsoft\\Windows\\History\\History.IE5\\MSHist01\\"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"My Video"="C:\\Users\\u\\Videos-moved"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\WordWheelQuery]
"0"="C:\\Old\\report.doc"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Wallpapers]
"BackgroundHistoryPath0"="C:\\Users\\u\\Pictures\\old-wallpaper.jpg"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Lock Screen\Creative]
"LockImagePath"="C:\\Users\\u\\AppData\\Local\\Packages\\Lock\\image.jpg"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\TypedPaths]
"url1"="C:\\Old\\Folder"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Group Policy\History]
"DCName"="C:\\Windows\\System32\\GroupPolicy\\gone.pol"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Group Policy\History\{35378EAC-683F-11D2-A89A-00C04FBBCFA2}\0]
"FileSysPath"="C:\\Windows\\System32\\GroupPolicy\\Machine"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\UserAssist\{CEBFF5CD}\Count]
"C:\\Old\\tool.exe"="x"
[HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Compatibility Assistant\Store]
"C:\\Old\\setup.exe"="x"
[HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Layers]
"C:\\Old\\game.exe"="~ WIN7RTM"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FeatureUsage\AppSwitched]
"C:\\Old\\tool.exe"="x"
[HKEY_CURRENT_USER\Environment]
"TEMP"="C:\\Users\\u\\AppData\\Local\\Temp-gone"
"TMP"="C:\\Users\\u\\AppData\\Local\\Temp-gone"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components\0A1B2C]
"00B1C2"="C:\\Program Files\\Old\\old.dll"
[HKEY_LOCAL_MACHINE\Software\Classes\Installer\Products\00B1C2\SourceList]
"LastUsedSource"="C:\\Setup\\old\\"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Appx\AppxAllUserStore\Applications\App_1.0]
"Path"="C:\\Program Files\\WindowsApps\\App_1.0\\AppxManifest.xml"
[HKEY_USERS\S-1-5-21-7-7-7-1002\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Personal"="C:\\Users\\other\\Documents-moved"
[HKEY_USERS\S-1-5-21-7-7-7-1002_Classes\Local Settings\Software\Microsoft\Windows\Shell\MuiCache]
"C:\\Old\\other.exe.FriendlyAppName"="C:\\Old\\other.exe"
[HKEY_USERS\S-1-5-21-7-7-7-1002_Classes\AppX0123456789abcdef\Shell\open\command]
@="C:\\Program Files\\WindowsApps\\Other\\app.exe"
)";

// Entries beside them that a scan still reports: the user's own settings of the shell folders,
// and a vendor's key whose name merely begins like a Windows-owned one.
inline constexpr const char* kJudgedNeighbours = R"(
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders]
"My Video"="C:\\Users\\u\\Videos-moved"
[HKEY_CURRENT_USER\Software\Classes\ApplicationX.Doc\Shell\open\command]
@="C:\\Old\\appx-like.exe"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings\5.0\CacheVendor]
"Path"="C:\\Old\\cache.exe"
)";

}  // namespace vantrel::test
