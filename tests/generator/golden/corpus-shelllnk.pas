unit IShellLinkA_TLB;

{$TYPEDADDRESS OFF}
{$WARN SYMBOL_PLATFORM OFF}
{$WRITEABLECONST ON}
{$VARPROPSETTER ON}

interface

uses
  Windows, ActiveX, Variants;

const
  CLSID_ShellLinkA: TGUID = '{00021401-0000-0000-C000-000000000046}';
  IID_IPersistFile: TGUID = '{0000010B-0000-0000-C000-000000000046}';
  IID_IShellLinkA: TGUID = '{000214EE-0000-0000-C000-000000000046}';

type
  SLR_FLAGS = TOleEnum;

const
  SLR_NO_UI = 1;
  SLR_ANY_MATCH = 2;
  SLR_UPDATE = 4;

type
  SLGP_FLAGS = TOleEnum;

const
  SLGP_SHORTPATH = 1;
  SLGP_UNCPRIORITY = 2;

type
  IPersistFile = interface;
  IShellLinkA = interface;

  FILETIME = packed record
    dwLowDateTime: Longint;
    dwHighDateTime: Longint;
  end;

  WIN32_FIND_DATA = packed record
    dwFileAttributes: Longint;
    ftCreationTime: FILETIME;
    ftLastAccessTime: FILETIME;
    ftLastWriteTime: FILETIME;
    nFileSizeHigh: Longint;
    nFileSizeLow: Longint;
    dwReserved0: Longint;
    dwReserved1: Longint;
    cFileName: array[0..254] of Byte;
    cAlternate: array[0..13] of Byte;
  end;

  IPersistFile = interface(IUnknown)
    ['{0000010B-0000-0000-C000-000000000046}']
    function GetClassID(var pClassID: Longint): HResult; stdcall;
    function IsDirty: HResult; stdcall;
    function Load(pszFileName: PChar; dwMode: Longint): HResult; stdcall;
    function Save(pszFileName: PChar; fRemember: Longint): HResult; stdcall;
    function SaveCompleted(pszFileName: PChar): HResult; stdcall;
    function GetCurFile(var ppszFileName: PChar): HResult; stdcall;
  end;

  IShellLinkA = interface(IUnknown)
    ['{000214EE-0000-0000-C000-000000000046}']
    function GetPath(pszFile: PChar; cchMaxPath: Longint; var pfd: WIN32_FIND_DATA; 
      fflags: Longint): HResult; stdcall;
    function GetIDList(var ppidl: Longint): HResult; stdcall;
    function SetIDList(pidl: Longint): HResult; stdcall;
    function GetDescription(pszName: PChar; cchMaxName: Longint): HResult; stdcall;
    function SetDescription(pszName: PChar): HResult; stdcall;
    function GetWorkingDirectory(pszDir: PChar; cchMaxPath: Longint): HResult; stdcall;
    function SetWorkingDirectory(pszDir: PChar): HResult; stdcall;
    function GetArguments(pszArgs: PChar; cchMaxPath: Longint): HResult; stdcall;
    function SetArguments(pszArgs: PChar): HResult; stdcall;
    function GetHotkey(var pwHotkey: Longint): HResult; stdcall;
    function SetHotkey(wHotkey: Longint): HResult; stdcall;
    function GetShowCmd(var piShowCmd: Longint): HResult; stdcall;
    function SetShowCmd(iShowCmd: Longint): HResult; stdcall;
    function GetIconLocation(pszIconPath: PChar; cchIconPath: Longint; 
      var piIcon: Longint): HResult; stdcall;
    function SetIconLocation(pszIconPath: PChar; iIcon: Longint): HResult; stdcall;
    function SetRelativePath(pszPathRel: PChar; dwReserved: Longint): HResult; stdcall;
    function Resolve(hwnd: Longint; fflags: Longint): HResult; stdcall;
    function SetPath(pszFile: PChar): HResult; stdcall;
  end;

implementation

end.
