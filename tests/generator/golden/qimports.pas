unit QImports_TLB;

{$TYPEDADDRESS OFF}
{$WARN SYMBOL_PLATFORM OFF}
{$WRITEABLECONST ON}
{$VARPROPSETTER ON}

interface

uses
  Windows, ActiveX, Variants;

const
  CLSID_QImportsThing: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A5004}';
  IID_IQImportsDual: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A5003}';
  IID_DQEvents: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A110A}';
  IID_IQImportsBase: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A5002}';
  IID_IQBase: TGUID = '';

type
  QColor = TOleEnum;

const
  qcRed = 0;
  qcGreen = 1;
  qcBlue = 2;
  qcNegative = -5;
  qcBig = 2147483647;
  qcHex = 65536;

type
  IQImportsBase = interface;
  IQBase = interface;
  IQImportsDual = dispinterface;
  DQEvents = dispinterface;

  QLine = packed record
    from: QPoint;
    to_: QPoint;
    color: QColor;
    weight: QNumber;
    handle: QHandle;
    corners: array[0..1, 0..1] of QPoint;
    paint: LongWord;
  end;

  IQBase = interface(IUnknown)
    ['{00000000-0000-0000-0000-000000000000}']
    function First(value: Longint): HResult; stdcall;
    function Second(out result: Longint): HResult; stdcall;
  end;

  IQImportsBase = interface(IQBase)
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A5002}']
    function Fourth(color: QColor; var point: QPoint; var alias: QPointAlias): HResult; stdcall;
  end;

  IQImportsDual = dispinterface
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A5003}']
    property Name: WideString dispid 1;
    procedure Move(var to_: {QPoint}OleVariant; color: QColor); dispid 2;
    procedure Unnumbered(var thing: {IQDerived}OleVariant); dispid 1610743811;
    function Draw(var line: {QLine}OleVariant; const base: IQBase): {IQDual}OleVariant; dispid 100;
    procedure Font(var Font: {IFontDisp}OleVariant; color: LongWord); dispid 101;
  end;

  DQEvents = dispinterface
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A110A}']
    property Count: Longint dispid 1;
    property Caption: WideString dispid 2;
    property Tag: OleVariant dispid 3;
    procedure Clicked(x: Longint; y: Longint); dispid 10;
    function Closing(var cancel: WordBool): WordBool; dispid 11;
    property Level: Longint dispid 12;
  end;

implementation

end.
