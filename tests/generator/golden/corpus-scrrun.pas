unit Scripting_TLB;

{$TYPEDADDRESS OFF}
{$WARN SYMBOL_PLATFORM OFF}
{$WRITEABLECONST ON}
{$VARPROPSETTER ON}

interface

uses
  Windows, ActiveX, Variants;

const
  CLSID_Dictionary: TGUID = '{EE09B103-97E0-11CF-978F-00A02463E06F}';
  CLSID_FileSystemObject: TGUID = '{0D43FE01-F093-11CF-8940-00A0C9054228}';
  CLSID_Drive: TGUID = '{C7C3F5B1-88A3-11D0-ABCB-00A0C90FFFC0}';
  CLSID_Drives: TGUID = '{C7C3F5B2-88A3-11D0-ABCB-00A0C90FFFC0}';
  CLSID_Folder: TGUID = '{C7C3F5B3-88A3-11D0-ABCB-00A0C90FFFC0}';
  CLSID_Folders: TGUID = '{C7C3F5B4-88A3-11D0-ABCB-00A0C90FFFC0}';
  CLSID_File: TGUID = '{C7C3F5B5-88A3-11D0-ABCB-00A0C90FFFC0}';
  CLSID_Files: TGUID = '{C7C3F5B6-88A3-11D0-ABCB-00A0C90FFFC0}';
  CLSID_TextStream: TGUID = '{0BB02EC0-EF49-11CF-8940-00A0C9054228}';
  CLSID_Encoder: TGUID = '{32DA2B15-CFED-11D1-B747-00C04FC2B085}';
  IID_IDictionary: TGUID = '{42C642C1-97E1-11CF-978F-00A02463E06F}';
  IID_IFileSystem: TGUID = '{0AB5A3D0-E5B6-11D0-ABF5-00A0C90FFFC0}';
  IID_IDriveCollection: TGUID = '{C7C3F5A1-88A3-11D0-ABCB-00A0C90FFFC0}';
  IID_IDrive: TGUID = '{C7C3F5A0-88A3-11D0-ABCB-00A0C90FFFC0}';
  IID_IFolder: TGUID = '{C7C3F5A2-88A3-11D0-ABCB-00A0C90FFFC0}';
  IID_IFolderCollection: TGUID = '{C7C3F5A3-88A3-11D0-ABCB-00A0C90FFFC0}';
  IID_IFileCollection: TGUID = '{C7C3F5A5-88A3-11D0-ABCB-00A0C90FFFC0}';
  IID_IFile: TGUID = '{C7C3F5A4-88A3-11D0-ABCB-00A0C90FFFC0}';
  IID_ITextStream: TGUID = '{53BAD8C1-E718-11CF-893D-00A0C9054228}';
  IID_IFileSystem3: TGUID = '{2A0B9D10-4B87-11D3-A97A-00104B365C9F}';
  IID_IScriptEncoder: TGUID = '{AADC65F6-CFF1-11D1-B747-00C04FC2B085}';

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
  __MIDL___MIDL_itf_scrrun_0000_0001 = TOleEnum;

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
  __MIDL___MIDL_itf_scrrun_0111_0001 = TOleEnum;

const
  UnknownType = 0;
  Removable = 1;
  Fixed = 2;
  Remote = 3;
  CDRom = 4;
  RamDisk = 5;

type
  __MIDL___MIDL_itf_scrrun_0111_0002 = TOleEnum;

const
  WindowsFolder = 0;
  SystemFolder = 1;
  TemporaryFolder = 2;

type
  __MIDL___MIDL_itf_scrrun_0111_0003 = TOleEnum;

const
  StdIn = 0;
  StdOut = 1;
  StdErr = 2;

type
  IDictionary = dispinterface;
  IFileSystem = dispinterface;
  IDriveCollection = dispinterface;
  IDrive = dispinterface;
  IFolder = dispinterface;
  IFolderCollection = dispinterface;
  IFileCollection = dispinterface;
  IFile = dispinterface;
  ITextStream = dispinterface;
  IFileSystem3 = dispinterface;
  IScriptEncoder = dispinterface;

  FileAttribute = __MIDL___MIDL_itf_scrrun_0000_0001;
  DriveTypeConst = __MIDL___MIDL_itf_scrrun_0111_0001;
  SpecialFolderConst = __MIDL___MIDL_itf_scrrun_0111_0002;
  StandardStreamTypes = __MIDL___MIDL_itf_scrrun_0111_0003;

  IDictionary = dispinterface
    ['{42C642C1-97E1-11CF-978F-00A02463E06F}']
    property Item[Key: OleVariant]: OleVariant dispid 0;
    procedure Add(var Key: OleVariant; var Item: OleVariant); dispid 1;
    property Count: Longint readonly dispid 2;
    function Exists(var Key: OleVariant): WordBool; dispid 3;
    function Items: OleVariant; dispid 4;
    property Key[Key: OleVariant]: OleVariant dispid 5;
    function Keys: OleVariant; dispid 6;
    procedure Remove(var Key: OleVariant); dispid 7;
    procedure RemoveAll; dispid 8;
    property CompareMode: CompareMethod dispid 9;
    function _NewEnum: IUnknown; dispid -4;
    property HashVal[Key: OleVariant]: OleVariant readonly dispid 10;
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

  IScriptEncoder = dispinterface
    ['{AADC65F6-CFF1-11D1-B747-00C04FC2B085}']
    function EncodeScriptFile(const szExt: WideString; const bstrStreamIn: WideString; 
      cFlags: Longint; const bstrDefaultLang: WideString): WideString; dispid 0;
  end;

implementation

end.
