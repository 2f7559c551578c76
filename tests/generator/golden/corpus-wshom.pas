unit IWshRuntimeLibrary_TLB;

{$TYPEDADDRESS OFF}
{$WARN SYMBOL_PLATFORM OFF}
{$WRITEABLECONST ON}
{$VARPROPSETTER ON}

interface

uses
  Windows, ActiveX, Variants;

const
  CLSID_FileSystemObject: TGUID = '{0D43FE01-F093-11CF-8940-00A0C9054228}';
  CLSID_Drive: TGUID = '{C7C3F5B1-88A3-11D0-ABCB-00A0C90FFFC0}';
  CLSID_Drives: TGUID = '{C7C3F5B2-88A3-11D0-ABCB-00A0C90FFFC0}';
  CLSID_Folder: TGUID = '{C7C3F5B3-88A3-11D0-ABCB-00A0C90FFFC0}';
  CLSID_Folders: TGUID = '{C7C3F5B4-88A3-11D0-ABCB-00A0C90FFFC0}';
  CLSID_File: TGUID = '{C7C3F5B5-88A3-11D0-ABCB-00A0C90FFFC0}';
  CLSID_Files: TGUID = '{C7C3F5B6-88A3-11D0-ABCB-00A0C90FFFC0}';
  CLSID_TextStream: TGUID = '{0BB02EC0-EF49-11CF-8940-00A0C9054228}';
  CLSID_WshShell: TGUID = '{72C24DD5-D70A-438B-8A42-98424B88AFB8}';
  CLSID_IWshShell_Class: TGUID = '{F935DC22-1CF0-11D0-ADB9-00C04FD58A0B}';
  CLSID_WshShortcut: TGUID = '{A548B8E4-51D5-4661-8824-DAA1D893DFB2}';
  CLSID_IWshShortcut_Class: TGUID = '{F935DC24-1CF0-11D0-ADB9-00C04FD58A0B}';
  CLSID_WshNetwork: TGUID = '{093FF999-1EA0-4079-9525-9614C3504B74}';
  CLSID_IWshNetwork_Class: TGUID = '{F935DC26-1CF0-11D0-ADB9-00C04FD58A0B}';
  CLSID_WshCollection: TGUID = '{387DAFF4-DA03-44D2-B0D1-80C927C905AC}';
  CLSID_IWshCollection_Class: TGUID = '{F935DC28-1CF0-11D0-ADB9-00C04FD58A0B}';
  CLSID_WshEnvironment: TGUID = '{F48229AF-E28C-42B5-BB92-E114E62BDD54}';
  CLSID_IWshEnvironment_Class: TGUID = '{F935DC2A-1CF0-11D0-ADB9-00C04FD58A0B}';
  CLSID_WshURLShortcut: TGUID = '{50E13488-6F1E-4450-96B0-873755403955}';
  CLSID_IWshURLShortcut_Class: TGUID = '{F935DC2C-1CF0-11D0-ADB9-00C04FD58A0B}';
  CLSID_WshExec: TGUID = '{08FED191-BE19-11D3-A28B-00104BD35090}';
  IID_ITextStream: TGUID = '{53BAD8C1-E718-11CF-893D-00A0C9054228}';
  IID_IWshShell: TGUID = '{F935DC21-1CF0-11D0-ADB9-00C04FD58A0B}';
  IID_IWshCollection: TGUID = '{F935DC27-1CF0-11D0-ADB9-00C04FD58A0B}';
  IID_IWshEnvironment: TGUID = '{F935DC29-1CF0-11D0-ADB9-00C04FD58A0B}';
  IID_IWshShell2: TGUID = '{24BE5A30-EDFE-11D2-B933-00104B365C9F}';
  IID_IWshShell3: TGUID = '{41904400-BE18-11D3-A28B-00104BD35090}';
  IID_IWshExec: TGUID = '{08FED190-BE19-11D3-A28B-00104BD35090}';
  IID_IWshShortcut: TGUID = '{F935DC23-1CF0-11D0-ADB9-00C04FD58A0B}';
  IID_IWshNetwork: TGUID = '{F935DC25-1CF0-11D0-ADB9-00C04FD58A0B}';
  IID_IWshNetwork2: TGUID = '{24BE5A31-EDFE-11D2-B933-00104B365C9F}';
  IID_IWshURLShortcut: TGUID = '{F935DC2B-1CF0-11D0-ADB9-00C04FD58A0B}';
  IID_IFileSystem: TGUID = '{0AB5A3D0-E5B6-11D0-ABF5-00A0C90FFFC0}';
  IID_IDriveCollection: TGUID = '{C7C3F5A1-88A3-11D0-ABCB-00A0C90FFFC0}';
  IID_IDrive: TGUID = '{C7C3F5A0-88A3-11D0-ABCB-00A0C90FFFC0}';
  IID_IFolder: TGUID = '{C7C3F5A2-88A3-11D0-ABCB-00A0C90FFFC0}';
  IID_IFolderCollection: TGUID = '{C7C3F5A3-88A3-11D0-ABCB-00A0C90FFFC0}';
  IID_IFileCollection: TGUID = '{C7C3F5A5-88A3-11D0-ABCB-00A0C90FFFC0}';
  IID_IFile: TGUID = '{C7C3F5A4-88A3-11D0-ABCB-00A0C90FFFC0}';
  IID_IFileSystem3: TGUID = '{2A0B9D10-4B87-11D3-A97A-00104B365C9F}';

type
  __MIDL___MIDL_itf_iwshom_0128_0001 = TOleEnum;

const
  WshRunning = 0;
  WshFinished = 1;
  WshFailed = 2;

type
  CompareMethod = TOleEnum;

const
  BinaryCompare = 0;
  TextCompare = 1;
  DatabaseCompare = 2;

type
  IOMode = TOleEnum;

const
  ForReading = 1;
  ForWriting = 2;
  ForAppending = 8;

type
  Tristate = TOleEnum;

const
  TristateTrue = -1;
  TristateFalse = 0;
  TristateUseDefault = -2;
  TristateMixed = -2;

type
  __MIDL___MIDL_itf_iwshom_0000_0001 = TOleEnum;

const
  Normal = 0;
  ReadOnly = 1;
  Hidden = 2;
  System = 4;
  Volume = 8;
  Directory = 16;
  Archive = 32;
  Alias = 1024;
  Compressed = 2048;

type
  __MIDL___MIDL_itf_iwshom_0000_0002 = TOleEnum;

const
  UnknownType = 0;
  Removable = 1;
  Fixed = 2;
  Remote = 3;
  CDRom = 4;
  RamDisk = 5;

type
  __MIDL___MIDL_itf_iwshom_0000_0003 = TOleEnum;

const
  WindowsFolder = 0;
  SystemFolder = 1;
  TemporaryFolder = 2;

type
  __MIDL___MIDL_itf_iwshom_0000_0004 = TOleEnum;

const
  StdIn = 0;
  StdOut = 1;
  StdErr = 2;

type
  __MIDL___MIDL_itf_iwshom_0119_0001 = TOleEnum;

const
  WshHide = 0;
  WshNormalFocus = 1;
  WshMinimizedFocus = 2;
  WshMaximizedFocus = 3;
  WshNormalNoFocus = 4;
  WshMinimizedNoFocus = 6;

type
  ITextStream = dispinterface;
  IWshShell = dispinterface;
  IWshCollection = dispinterface;
  IWshEnvironment = dispinterface;
  IWshShell2 = dispinterface;
  IWshShell3 = dispinterface;
  IWshExec = dispinterface;
  IWshShortcut = dispinterface;
  IWshNetwork = dispinterface;
  IWshNetwork2 = dispinterface;
  IWshURLShortcut = dispinterface;
  IFileSystem = dispinterface;
  IDriveCollection = dispinterface;
  IDrive = dispinterface;
  IFolder = dispinterface;
  IFolderCollection = dispinterface;
  IFileCollection = dispinterface;
  IFile = dispinterface;
  IFileSystem3 = dispinterface;

  WshExecStatus = __MIDL___MIDL_itf_iwshom_0128_0001;
  FileAttribute = __MIDL___MIDL_itf_iwshom_0000_0001;
  DriveTypeConst = __MIDL___MIDL_itf_iwshom_0000_0002;
  SpecialFolderConst = __MIDL___MIDL_itf_iwshom_0000_0003;
  StandardStreamTypes = __MIDL___MIDL_itf_iwshom_0000_0004;
  WshWindowStyle = __MIDL___MIDL_itf_iwshom_0119_0001;

  ITextStream = dispinterface
    ['{53BAD8C1-E718-11CF-893D-00A0C9054228}']
    property Line: Longint readonly dispid 10000;
    property Column: Longint readonly dispid -529;
    property AtEndOfStream: WordBool readonly dispid 10002;
    property AtEndOfLine: WordBool readonly dispid 10003;
    function Read(Characters: Longint): WideString; dispid 10004;
    function ReadLine: WideString; dispid 10005;
    function ReadAll: WideString; dispid 10006;
    procedure Write(const Text: WideString); dispid 10007;
    procedure WriteLine({opt} const Text: WideString); dispid 10008;
    procedure WriteBlankLines(Lines: Longint); dispid 10009;
    procedure Skip(Characters: Longint); dispid 10010;
    procedure SkipLine; dispid 10011;
    procedure Close; dispid 10012;
  end;

  IWshShell = dispinterface
    ['{F935DC21-1CF0-11D0-ADB9-00C04FD58A0B}']
    property SpecialFolders: IWshCollection readonly dispid 100;
    property Environment[Type_: OleVariant]: IWshEnvironment readonly dispid 200;
    function Run(const Command: WideString; {opt} var WindowStyle: OleVariant; 
      {opt} var WaitOnReturn: OleVariant): Integer; dispid 1000;
    function Popup(const Text: WideString; {opt} var SecondsToWait: OleVariant; 
      {opt} var Title: OleVariant; {opt} var Type_: OleVariant): Integer; dispid 1001;
    function CreateShortcut(const PathLink: WideString): IDispatch; dispid 1002;
    function ExpandEnvironmentStrings(const Src: WideString): WideString; dispid 1006;
    function RegRead(const Name: WideString): OleVariant; dispid 2000;
    procedure RegWrite(const Name: WideString; var Value: OleVariant; 
      {opt} var Type_: OleVariant); dispid 2001;
    procedure RegDelete(const Name: WideString); dispid 2002;
  end;

  IWshCollection = dispinterface
    ['{F935DC27-1CF0-11D0-ADB9-00C04FD58A0B}']
    function Item(var Index: OleVariant): OleVariant; dispid 0;
    function Count: Longint; dispid 1;
    property length: Longint readonly dispid 2;
    function _NewEnum: IUnknown; dispid -4;
  end;

  IWshEnvironment = dispinterface
    ['{F935DC29-1CF0-11D0-ADB9-00C04FD58A0B}']
    property Item[Name: WideString]: WideString dispid 0;
    function Count: Longint; dispid 1;
    property length: Longint readonly dispid 2;
    function _NewEnum: IUnknown; dispid -4;
    procedure Remove(const Name: WideString); dispid 1001;
  end;

  IWshShell2 = dispinterface
    ['{24BE5A30-EDFE-11D2-B933-00104B365C9F}']
    property SpecialFolders: IWshCollection readonly dispid 100;
    property Environment[Type_: OleVariant]: IWshEnvironment readonly dispid 200;
    function Run(const Command: WideString; {opt} var WindowStyle: OleVariant; 
      {opt} var WaitOnReturn: OleVariant): Integer; dispid 1000;
    function Popup(const Text: WideString; {opt} var SecondsToWait: OleVariant; 
      {opt} var Title: OleVariant; {opt} var Type_: OleVariant): Integer; dispid 1001;
    function CreateShortcut(const PathLink: WideString): IDispatch; dispid 1002;
    function ExpandEnvironmentStrings(const Src: WideString): WideString; dispid 1006;
    function RegRead(const Name: WideString): OleVariant; dispid 2000;
    procedure RegWrite(const Name: WideString; var Value: OleVariant; 
      {opt} var Type_: OleVariant); dispid 2001;
    procedure RegDelete(const Name: WideString); dispid 2002;
    function LogEvent(var Type_: OleVariant; const Message: WideString; 
      {opt} const Target: WideString): WordBool; dispid 3000;
    function AppActivate(var App: OleVariant; {opt} var Wait: OleVariant): WordBool; dispid 3010;
    procedure SendKeys(const Keys: WideString; {opt} var Wait: OleVariant); dispid 3011;
  end;

  IWshShell3 = dispinterface
    ['{41904400-BE18-11D3-A28B-00104BD35090}']
    property SpecialFolders: IWshCollection readonly dispid 100;
    property Environment[Type_: OleVariant]: IWshEnvironment readonly dispid 200;
    function Run(const Command: WideString; {opt} var WindowStyle: OleVariant; 
      {opt} var WaitOnReturn: OleVariant): Integer; dispid 1000;
    function Popup(const Text: WideString; {opt} var SecondsToWait: OleVariant; 
      {opt} var Title: OleVariant; {opt} var Type_: OleVariant): Integer; dispid 1001;
    function CreateShortcut(const PathLink: WideString): IDispatch; dispid 1002;
    function ExpandEnvironmentStrings(const Src: WideString): WideString; dispid 1006;
    function RegRead(const Name: WideString): OleVariant; dispid 2000;
    procedure RegWrite(const Name: WideString; var Value: OleVariant; 
      {opt} var Type_: OleVariant); dispid 2001;
    procedure RegDelete(const Name: WideString); dispid 2002;
    function LogEvent(var Type_: OleVariant; const Message: WideString; 
      {opt} const Target: WideString): WordBool; dispid 3000;
    function AppActivate(var App: OleVariant; {opt} var Wait: OleVariant): WordBool; dispid 3010;
    procedure SendKeys(const Keys: WideString; {opt} var Wait: OleVariant); dispid 3011;
    function Exec(const Command: WideString): IWshExec; dispid 3012;
    property CurrentDirectory: WideString dispid 3013;
  end;

  IWshExec = dispinterface
    ['{08FED190-BE19-11D3-A28B-00104BD35090}']
    property Status: {WshExecStatus}OleVariant readonly dispid 1;
    property StdIn: ITextStream readonly dispid 3;
    property StdOut: ITextStream readonly dispid 4;
    property StdErr: ITextStream readonly dispid 5;
    property ProcessID: Longint readonly dispid 6;
    property ExitCode: Longint readonly dispid 7;
    procedure Terminate; dispid 8;
  end;

  IWshShortcut = dispinterface
    ['{F935DC23-1CF0-11D0-ADB9-00C04FD58A0B}']
    property FullName: WideString readonly dispid 0;
    property Arguments: WideString dispid 1000;
    property Description: WideString dispid 1001;
    property Hotkey: WideString dispid 1002;
    property IconLocation: WideString dispid 1003;
    property RelativePath: WideString dispid 1004;
    property TargetPath: WideString dispid 1005;
    property WindowStyle: Integer dispid 1006;
    property WorkingDirectory: WideString dispid 1007;
    procedure Load(const PathLink: WideString); dispid 2000;
    procedure Save; dispid 2001;
  end;

  IWshNetwork = dispinterface
    ['{F935DC25-1CF0-11D0-ADB9-00C04FD58A0B}']
    property UserDomain: WideString readonly dispid 1610743808;
    property UserName: WideString readonly dispid 1610743809;
    property UserProfile: WideString readonly dispid 1610743810;
    property ComputerName: WideString readonly dispid 1610743811;
    property Organization: WideString readonly dispid 1610743812;
    property Site: WideString readonly dispid 1610743813;
    procedure MapNetworkDrive(const LocalName: WideString; 
      const RemoteName: WideString; {opt} var UpdateProfile: OleVariant; 
      {opt} var UserName: OleVariant; {opt} var Password: OleVariant); dispid 1000;
    procedure RemoveNetworkDrive(const Name: WideString; {opt} var Force: OleVariant; 
      {opt} var UpdateProfile: OleVariant); dispid 1001;
    function EnumNetworkDrives: IWshCollection; dispid 1002;
    procedure AddPrinterConnection(const LocalName: WideString; 
      const RemoteName: WideString; {opt} var UpdateProfile: OleVariant; 
      {opt} var UserName: OleVariant; {opt} var Password: OleVariant); dispid 2000;
    procedure RemovePrinterConnection(const Name: WideString; 
      {opt} var Force: OleVariant; {opt} var UpdateProfile: OleVariant); dispid 2001;
    function EnumPrinterConnections: IWshCollection; dispid 2002;
    procedure SetDefaultPrinter(const Name: WideString); dispid 2003;
  end;

  IWshNetwork2 = dispinterface
    ['{24BE5A31-EDFE-11D2-B933-00104B365C9F}']
    property UserDomain: WideString readonly dispid 1610743808;
    property UserName: WideString readonly dispid 1610743809;
    property UserProfile: WideString readonly dispid 1610743810;
    property ComputerName: WideString readonly dispid 1610743811;
    property Organization: WideString readonly dispid 1610743812;
    property Site: WideString readonly dispid 1610743813;
    procedure MapNetworkDrive(const LocalName: WideString; 
      const RemoteName: WideString; {opt} var UpdateProfile: OleVariant; 
      {opt} var UserName: OleVariant; {opt} var Password: OleVariant); dispid 1000;
    procedure RemoveNetworkDrive(const Name: WideString; {opt} var Force: OleVariant; 
      {opt} var UpdateProfile: OleVariant); dispid 1001;
    function EnumNetworkDrives: IWshCollection; dispid 1002;
    procedure AddPrinterConnection(const LocalName: WideString; 
      const RemoteName: WideString; {opt} var UpdateProfile: OleVariant; 
      {opt} var UserName: OleVariant; {opt} var Password: OleVariant); dispid 2000;
    procedure RemovePrinterConnection(const Name: WideString; 
      {opt} var Force: OleVariant; {opt} var UpdateProfile: OleVariant); dispid 2001;
    function EnumPrinterConnections: IWshCollection; dispid 2002;
    procedure SetDefaultPrinter(const Name: WideString); dispid 2003;
    procedure AddWindowsPrinterConnection(const PrinterName: WideString; 
      {opt} const DriverName: WideString; {opt} const Port: WideString); dispid 2004;
  end;

  IWshURLShortcut = dispinterface
    ['{F935DC2B-1CF0-11D0-ADB9-00C04FD58A0B}']
    property FullName: WideString readonly dispid 0;
    property TargetPath: WideString dispid 1005;
    procedure Load(const PathLink: WideString); dispid 2000;
    procedure Save; dispid 2001;
  end;

  IFileSystem = dispinterface
    ['{0AB5A3D0-E5B6-11D0-ABF5-00A0C90FFFC0}']
    property Drives: IDriveCollection readonly dispid 10010;
    function BuildPath(const Path: WideString; const Name: WideString): WideString; dispid 10000;
    function GetDriveName(const Path: WideString): WideString; dispid 10004;
    function GetParentFolderName(const Path: WideString): WideString; dispid 10005;
    function GetFileName(const Path: WideString): WideString; dispid 10006;
    function GetBaseName(const Path: WideString): WideString; dispid 10007;
    function GetExtensionName(const Path: WideString): WideString; dispid 10008;
    function GetAbsolutePathName(const Path: WideString): WideString; dispid 10002;
    function GetTempName: WideString; dispid 10003;
    function DriveExists(const DriveSpec: WideString): WordBool; dispid 10015;
    function FileExists(const FileSpec: WideString): WordBool; dispid 10016;
    function FolderExists(const FolderSpec: WideString): WordBool; dispid 10017;
    function GetDrive(const DriveSpec: WideString): IDrive; dispid 10011;
    function GetFile(const FilePath: WideString): IFile; dispid 10012;
    function GetFolder(const FolderPath: WideString): IFolder; dispid 10013;
    function GetSpecialFolder(SpecialFolder: {SpecialFolderConst}OleVariant): IFolder; dispid 10014;
    procedure DeleteFile(const FileSpec: WideString; {opt} Force: WordBool); dispid 1200;
    procedure DeleteFolder(const FolderSpec: WideString; {opt} Force: WordBool); dispid 1201;
    procedure MoveFile(const Source: WideString; const Destination: WideString); dispid 1204;
    procedure MoveFolder(const Source: WideString; const Destination: WideString); dispid 1205;
    procedure CopyFile(const Source: WideString; const Destination: WideString; 
      {opt} OverWriteFiles: WordBool); dispid 1202;
    procedure CopyFolder(const Source: WideString; const Destination: WideString; 
      {opt} OverWriteFiles: WordBool); dispid 1203;
    function CreateFolder(const Path: WideString): IFolder; dispid 1120;
    function CreateTextFile(const FileName: WideString; {opt} Overwrite: WordBool; 
      {opt} Unicode: WordBool): ITextStream; dispid 1101;
    function OpenTextFile(const FileName: WideString; {opt} IOMode: IOMode; 
      {opt} Create: WordBool; {opt} Format: Tristate): ITextStream; dispid 1100;
  end;

  IDriveCollection = dispinterface
    ['{C7C3F5A1-88A3-11D0-ABCB-00A0C90FFFC0}']
    property Item[Key: OleVariant]: IDrive readonly dispid 0;
    property _NewEnum: IUnknown readonly dispid -4;
    property Count: Longint readonly dispid 1;
  end;

  IDrive = dispinterface
    ['{C7C3F5A0-88A3-11D0-ABCB-00A0C90FFFC0}']
    property Path: WideString readonly dispid 0;
    property DriveLetter: WideString readonly dispid 10000;
    property ShareName: WideString readonly dispid 10001;
    property DriveType: {DriveTypeConst}OleVariant readonly dispid 10002;
    property RootFolder: IFolder readonly dispid 10003;
    property AvailableSpace: OleVariant readonly dispid 10005;
    property FreeSpace: OleVariant readonly dispid 10004;
    property TotalSize: OleVariant readonly dispid 10006;
    property VolumeName: WideString dispid 10007;
    property FileSystem: WideString readonly dispid 10008;
    property SerialNumber: Longint readonly dispid 10009;
    property IsReady: WordBool readonly dispid 10010;
  end;

  IFolder = dispinterface
    ['{C7C3F5A2-88A3-11D0-ABCB-00A0C90FFFC0}']
    property Path: WideString readonly dispid 0;
    property Name: WideString dispid 1000;
    property ShortPath: WideString readonly dispid 1002;
    property ShortName: WideString readonly dispid 1001;
    property Drive: IDrive readonly dispid 1004;
    property ParentFolder: IFolder readonly dispid 1005;
    property Attributes: {FileAttribute}OleVariant dispid 1003;
    property DateCreated: TOleDate readonly dispid 1006;
    property DateLastModified: TOleDate readonly dispid 1007;
    property DateLastAccessed: TOleDate readonly dispid 1008;
    property Type_: WideString readonly dispid 1010;
    procedure Delete({opt} Force: WordBool); dispid 1201;
    procedure Copy(const Destination: WideString; {opt} OverWriteFiles: WordBool); dispid 1203;
    procedure Move(const Destination: WideString); dispid 1205;
    property IsRootFolder: WordBool readonly dispid 10000;
    property Size: OleVariant readonly dispid 1009;
    property SubFolders: IFolderCollection readonly dispid 10001;
    property Files: IFileCollection readonly dispid 10002;
    function CreateTextFile(const FileName: WideString; {opt} Overwrite: WordBool; 
      {opt} Unicode: WordBool): ITextStream; dispid 1101;
  end;

  IFolderCollection = dispinterface
    ['{C7C3F5A3-88A3-11D0-ABCB-00A0C90FFFC0}']
    function Add(const Name: WideString): IFolder; dispid 2;
    property Item[Key: OleVariant]: IFolder readonly dispid 0;
    property _NewEnum: IUnknown readonly dispid -4;
    property Count: Longint readonly dispid 1;
  end;

  IFileCollection = dispinterface
    ['{C7C3F5A5-88A3-11D0-ABCB-00A0C90FFFC0}']
    property Item[Key: OleVariant]: IFile readonly dispid 0;
    property _NewEnum: IUnknown readonly dispid -4;
    property Count: Longint readonly dispid 1;
  end;

  IFile = dispinterface
    ['{C7C3F5A4-88A3-11D0-ABCB-00A0C90FFFC0}']
    property Path: WideString readonly dispid 0;
    property Name: WideString dispid 1000;
    property ShortPath: WideString readonly dispid 1002;
    property ShortName: WideString readonly dispid 1001;
    property Drive: IDrive readonly dispid 1004;
    property ParentFolder: IFolder readonly dispid 1005;
    property Attributes: {FileAttribute}OleVariant dispid 1003;
    property DateCreated: TOleDate readonly dispid 1006;
    property DateLastModified: TOleDate readonly dispid 1007;
    property DateLastAccessed: TOleDate readonly dispid 1008;
    property Size: OleVariant readonly dispid 1009;
    property Type_: WideString readonly dispid 1010;
    procedure Delete({opt} Force: WordBool); dispid 1200;
    procedure Copy(const Destination: WideString; {opt} OverWriteFiles: WordBool); dispid 1202;
    procedure Move(const Destination: WideString); dispid 1204;
    function OpenAsTextStream({opt} IOMode: IOMode; {opt} Format: Tristate): ITextStream; dispid 1100;
  end;

  IFileSystem3 = dispinterface
    ['{2A0B9D10-4B87-11D3-A97A-00104B365C9F}']
    property Drives: IDriveCollection readonly dispid 10010;
    function BuildPath(const Path: WideString; const Name: WideString): WideString; dispid 10000;
    function GetDriveName(const Path: WideString): WideString; dispid 10004;
    function GetParentFolderName(const Path: WideString): WideString; dispid 10005;
    function GetFileName(const Path: WideString): WideString; dispid 10006;
    function GetBaseName(const Path: WideString): WideString; dispid 10007;
    function GetExtensionName(const Path: WideString): WideString; dispid 10008;
    function GetAbsolutePathName(const Path: WideString): WideString; dispid 10002;
    function GetTempName: WideString; dispid 10003;
    function DriveExists(const DriveSpec: WideString): WordBool; dispid 10015;
    function FileExists(const FileSpec: WideString): WordBool; dispid 10016;
    function FolderExists(const FolderSpec: WideString): WordBool; dispid 10017;
    function GetDrive(const DriveSpec: WideString): IDrive; dispid 10011;
    function GetFile(const FilePath: WideString): IFile; dispid 10012;
    function GetFolder(const FolderPath: WideString): IFolder; dispid 10013;
    function GetSpecialFolder(SpecialFolder: {SpecialFolderConst}OleVariant): IFolder; dispid 10014;
    procedure DeleteFile(const FileSpec: WideString; {opt} Force: WordBool); dispid 1200;
    procedure DeleteFolder(const FolderSpec: WideString; {opt} Force: WordBool); dispid 1201;
    procedure MoveFile(const Source: WideString; const Destination: WideString); dispid 1204;
    procedure MoveFolder(const Source: WideString; const Destination: WideString); dispid 1205;
    procedure CopyFile(const Source: WideString; const Destination: WideString; 
      {opt} OverWriteFiles: WordBool); dispid 1202;
    procedure CopyFolder(const Source: WideString; const Destination: WideString; 
      {opt} OverWriteFiles: WordBool); dispid 1203;
    function CreateFolder(const Path: WideString): IFolder; dispid 1120;
    function CreateTextFile(const FileName: WideString; {opt} Overwrite: WordBool; 
      {opt} Unicode: WordBool): ITextStream; dispid 1101;
    function OpenTextFile(const FileName: WideString; {opt} IOMode: IOMode; 
      {opt} Create: WordBool; {opt} Format: Tristate): ITextStream; dispid 1100;
    function GetStandardStream(StandardStreamType: {StandardStreamTypes}OleVariant; 
      {opt} Unicode: WordBool): ITextStream; dispid 20000;
    function GetFileVersion(const FileName: WideString): WideString; dispid 20010;
  end;

implementation

end.
