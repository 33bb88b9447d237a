"""One installation through kestrel-host and the real plug-in that changes the whole machine:
files, start-up files, INI files, a text file, a self-registering server, the registry and a
Program Manager group; every change is compared afterwards, install.log byte for byte."""

import subprocess
import unittest

from kestrel_e2e import InstallCase, WebServer, WinePrefix, crlf, mingw_build, winpath

ROOT = r"HKEY_CURRENT_USER\Software\KestrelE2E"
# A window that notes it was told the session is ending, as a restart tells every window.
SENTINEL = r"""
#include <windows.h>

static const char* marker;

static LRESULT CALLBACK onMessage(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_QUERYENDSESSION || message == WM_ENDSESSION)
        CloseHandle(CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    return DefWindowProcA(window, message, w, l);
}

int main(int argc, char** argv) {
    WNDCLASSA type = {0};
    MSG message;
    marker = argc > 1 ? argv[1] : "ended";
    type.lpfnWndProc = onMessage;
    type.lpszClassName = "sentinel";
    RegisterClassA(&type);
    CreateWindowA("sentinel", "sentinel", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
"""

# A self-registering component that records, where the test can read it, which file of it
# was registered.
SERVER = r"""
#include <windows.h>

__declspec(dllexport) HRESULT __stdcall DllRegisterServer(void) {
    char path[MAX_PATH];
    HMODULE self;
    HKEY key;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                       GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       (LPCSTR)DllRegisterServer, &self);
    DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\KestrelE2E\\Server", 0, NULL, 0,
                        KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
        return E_FAIL;
    LONG status = RegSetValueExA(key, "Registered", 0, REG_SZ, (const BYTE*)path, length + 1);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? S_OK : E_FAIL;
}
"""

SCRIPT = crlf(
    "UNINSTALL YES", r"DEFAULTDIR C:\DEMO NOASKDRIVE NOASKDIR", "REBOOTSYSTEM",
    "FILE notes.txt", "FILE server.dll",
    r'AUTOEXEC ASK ADDPATH ADDPATH="C:\TOOLS" SHARE="/F:4096 /L:40"',
    'AUTOEXEC ADD="SET KESTREL=$DEFAULTDIR$"',
    r'CONFIG FILEMIN=40 BUFFERMIN=30 ADD="DEVICE=$DEFAULTDIR$\KESTREL.SYS"',
    'INIFILE "Settings" "Mode" "new" "kestrel.ini"',
    'INIFILE "Settings" "List" "b" "kestrel.ini" ADD',
    'INIFILE "Paths" "Home" "$DEFAULTDIR$" "kestrel.ini"',
    r'INIFILE "Main" "Installed" "1" "$DEFAULTDIR$\demo.ini"',
    'INIFILE "Main" "Never" "1" "other.ini" ASK',
    "REGSERVER server.dll",
    r'ADDTEXT "device=kestrel.386" "C:\TOOLS\tools.cfg" "[386Enh]"',
    r'ADDTEXT ";*" "C:\TOOLS\tools.cfg" "timeout=*" REPLACE',
    "BEGINREGISTRY", rf'KEY NEW "{ROOT}\App\Settings"',
    'VALUE STRING NEW "DEFAULT" "Kestrel"', 'VALUE STRING NEW "Path" "$DEFAULTDIR$"',
    'VALUE REG_EXPAND_SZ NEW "Home" "%SystemRoot%\\kestrel"',
    'VALUE REG_MULTI_SZ NEW "List" "one"', 'VALUE DWORD NEW "Count" "0x10"',
    'VALUE BINARY NEW "Flags" "0000000111111111"', 'VALUE DWORD INCREMENT "Runs" "1"',
    "ENDREGISTRY",
    "BEGINREGISTRY", rf'KEY QUERY "{ROOT}\Existing"', 'VALUE STRING REPLACE "Mode" "new"',
    'VALUE DWORD MAX "Level" "9"', 'VALUE DWORD INCREMENT "Text" "1"',
    'VALUE STRING RENAME "OldName" "NewName"', 'VALUE STRING DELETE "Gone"', "ENDREGISTRY",
    "BEGINREGISTRY", rf'KEY DELETE "{ROOT}\Obsolete"', "ENDREGISTRY",
    r'WINITEM "Kestrel Demo" "$DEFAULTDIR$\notes.txt" "Notes" "$DEFAULTDIR$\" '
    r'"$DEFAULTDIR$\notes.txt" 0')

BEFORE = {
    r"C:\AUTOEXEC.BAT": crlf("@ECHO OFF", "PROMPT $P$G", r"PATH C:\DOS;C:\WINDOWS",
                             r"C:\DOS\SHARE.EXE /L:500", "WIN"),
    r"C:\CONFIG.SYS": crlf(r"DEVICE=C:\DOS\HIMEM.SYS", "FILES=20") + "DOS=HIGH",
    r"C:\windows\kestrel.ini": crlf("[Settings]", "Mode=old", "List=a", "Keep=1"),
    r"C:\TOOLS\tools.cfg": crlf("[boot]", "timeout=5", "[386Enh]", "woafont=dosapp.fon"),
}
SEED = crlf("REGEDIT4", "", f"[{ROOT}\\Existing]", '"Mode"="old"', '"Level"=dword:00000005',
            '"Text"="abc"', '"OldName"="moved"', '"Gone"="x"', "", f"[{ROOT}\\Obsolete]")

AFTER = {
    r"C:\AUTOEXEC.BAT": crlf("@ECHO OFF", "PROMPT $P$G", r"PATH C:\DEMO;C:\TOOLS;C:\DOS;C:\WINDOWS",
                             r"C:\DOS\SHARE /F:4096 /L:500", r"SET KESTREL=C:\DEMO", "WIN"),
    r"C:\AUTOEXEC.BAK": BEFORE[r"C:\AUTOEXEC.BAT"],
    r"C:\CONFIG.SYS": crlf(r"DEVICE=C:\DOS\HIMEM.SYS", "FILES=40", "DOS=HIGH", "BUFFERS = 30",
                           r"DEVICE=C:\DEMO\KESTREL.SYS"),
    r"C:\CONFIG.BAK": BEFORE[r"C:\CONFIG.SYS"],
    r"C:\windows\kestrel.ini": crlf("[Settings]", "Mode=new", "List=a b", "Keep=1", "[Paths]",
                                    r"Home=C:\DEMO"),
    r"C:\DEMO\demo.ini": crlf("[Main]", "Installed=1"),
    r"C:\TOOLS\tools.cfg": crlf("[boot]", ";timeout=5", "[386Enh]",
                                "device=kestrel.386", "woafont=dosapp.fon"),
}

LOG = "\n".join([
    'DEFAULTDIR: "C:\\DEMO"', "DIRECTORY: C:\\DEMO", "",
    'UNINSTALLBEGINPROMPT: "Do you want this application removed from your system?"',
    'UNINSTALLENDPROMPT: "This application has been successfully removed from your system."',
    'UNINSTALLTITLEPROMPT: "UnInstall"',
    'FILE: "C:\\DEMO\\notes.txt"', 'FILE: "C:\\DEMO\\server.dll"',
    'AUTOEXEC: "PATH C:\\DOS;C:\\WINDOWS", "PATH C:\\DEMO;C:\\TOOLS;C:\\DOS;C:\\WINDOWS"',
    'AUTOEXEC: "C:\\DOS\\SHARE.EXE /L:500", "C:\\DOS\\SHARE /F:4096 /L:500"',
    'AUTOEXEC: "", "SET KESTREL=C:\\DEMO"',
    'CONFIG: "FILES=20", "FILES=40"',
    'CONFIG: "", "BUFFERS = 30',  # the appended minimum lines lack their closing quote
    'CONFIG: "", "DEVICE=C:\\DEMO\\KESTREL.SYS"',
    'INIFILE: "Settings", "Mode", "new", "kestrel.ini", "old"',
    'INIFILE: "Settings", "List", "b", "kestrel.ini", "a b"',
    'INIFILE: "Paths", "Home", "C:\\DEMO", "kestrel.ini"',
    'INIFILE: "Paths", "kestrel.ini"',
    'FILE: "C:\\DEMO\\demo.ini"',
    'INIFILE: "Main", "Installed", "1", "C:\\DEMO\\demo.ini"',
    'INIFILE: "Main", "C:\\DEMO\\demo.ini"',
    'RegServer: "C:\\DEMO\\server.dll"',
    'ADDTEXT: "", C:\\TOOLS\\tools.cfg, "device=kestrel.386"',
    'ADDTEXT: "timeout=5", C:\\TOOLS\\tools.cfg, ";timeout=5"',
    'REGKEY: "HKEY_CURRENT_USER", "Software\\KestrelE2E\\App\\Settings"',
    'REGKEY: "HKEY_CURRENT_USER", "Software\\KestrelE2E\\App"',
    'WINITEM: "Kestrel Demo", "Notes"',
]) + "\n"

REGISTRY = "\r\n".join([
    "Windows Registry Editor Version 5.00", "",
    f"[{ROOT}]", "",
    f"[{ROOT}\\App]", "",
    f"[{ROOT}\\App\\Settings]",
    '@="Kestrel"',
    '"Count"=dword:00000010',
    '"Flags"=hex:01,ff',
    '"Home"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,\\',
    '  00,25,00,5c,00,6b,00,65,00,73,00,74,00,72,00,65,00,6c,00,00,00',
    '"List"=hex(7):6f,00,6e,00,65,00,00,00,00,00',
    '"Path"="C:\\\\DEMO"',
    '"Runs"=dword:00000001', "",
    f"[{ROOT}\\Existing]",
    '"Level"=dword:00000009',
    '"Mode"="new"',
    '"NewName"="moved"',
    '"Text"="abc"', "",
    f"[{ROOT}\\Server]",
    '"Registered"="C:\\\\DEMO\\\\server.dll"', "", ""])


class SystemChangesTest(InstallCase):
    def test_one_installation_changes_every_part_of_the_machine_and_logs_each_change(self):
        files = {"setup/notes.txt": b"read me\r\n",
                 "setup/server.dll": mingw_build(self.tmp / "server.dll", SERVER).read_bytes()}
        root = self.web(SCRIPT, files)
        with WebServer(root) as web, WinePrefix() as prefix:
            for name, text in BEFORE.items():
                prefix.linux_path(name).parent.mkdir(parents=True, exist_ok=True)
                prefix.linux_path(name).write_bytes(text.encode())
            (self.tmp / "seed.reg").write_text(SEED)
            self.assertEqual(prefix.run("regedit", "/S", winpath(self.tmp / "seed.reg"))
                             .returncode, 0)

            # The script asks for a restart, which is declined: a restart would tell every
            # window, this one too, that the session ends.
            ended = self.tmp / "session-ended"
            sentinel = prefix.start(mingw_build(self.tmp / "sentinel.exe", SENTINEL),
                                    winpath(self.tmp) + "\\session-ended")
            run = prefix.run_host(web.url("index.html"), answers=(
                "AUTOEXEC.BAT => yes\nother.ini => no\nreboot => no\n* => ok\n"))
            self.assertEqual(run.returncode, 0, run)
            self.assertEqual(self.asked(run), [("messagebox", "", "yes"),
                                               ("messagebox", "", "no"),
                                               ("messagebox", " ", "no")])

            for name in ("notes.txt", "server.dll"):
                self.assertEqual(prefix.read("C:\\DEMO\\" + name), files["setup/" + name], name)
            # The rewrites leave no temporary file behind.
            for folder, names in (("C:", ["AUTOEXEC.BAK", "AUTOEXEC.BAT", "CONFIG.BAK",
                                          "CONFIG.SYS"]), (r"C:\TOOLS", ["tools.cfg"]),
                                  (r"C:\DEMO", ["demo.ini", "install.log", "notes.txt",
                                                "server.dll"])):
                self.assertEqual(sorted(p.name for p in prefix.linux_path(folder).iterdir()
                                        if p.is_file()), names, folder)
            for name, text in AFTER.items():
                self.assertEqual(prefix.read(name).decode(), text, name)
            self.assertFalse(prefix.exists(r"C:\windows\other.ini"), "declined")
            self.assertEqual(prefix.read(r"C:\DEMO\install.log").decode(), LOG)

            export = self.tmp / "export.reg"
            self.assertEqual(prefix.run("regedit", "/E", winpath(export), ROOT).returncode, 0)
            self.assertEqual(export.read_bytes().decode("utf-16"), REGISTRY)

            programs = list(prefix.path.glob("drive_c/users/*/AppData/Roaming/Microsoft/"
                                             "Windows/Start Menu/Programs/Kestrel Demo"))
            self.assertEqual([sorted(p.name for p in folder.iterdir()) for folder in programs],
                             [["Notes.lnk"]])
            self.assertIn(b"C:\\DEMO\\notes.txt\0", (programs[0] / "Notes.lnk").read_bytes())

            # A restart reaches every window within a second here.
            with self.assertRaises(subprocess.TimeoutExpired, msg="the machine restarted"):
                sentinel.wait(2)
            sentinel.terminate()
            sentinel.wait()
            self.assertFalse(ended.exists(), "the machine restarted")


if __name__ == "__main__":
    unittest.main()
