unit QKinds_TLB;

{$TYPEDADDRESS OFF}
{$WARN SYMBOL_PLATFORM OFF}
{$WRITEABLECONST ON}
{$VARPROPSETTER ON}

interface

uses
  Windows, ActiveX, Variants;

const
  CLSID_QThing: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A110C}';
  CLSID_QHiddenThing: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A110D}';
  IID_IQDual: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A1108}';
  IID_IQDualDerived: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A1109}';
  IID_DQEvents: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A110A}';
  IID_DQWrapped: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A110B}';
  IID_IQBase: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A1106}';
  IID_IQDerived: TGUID = '{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A1107}';

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
  IQBase = interface;
  IQDerived = interface;
  IQDual = dispinterface;
  IQDualDerived = dispinterface;
  DQEvents = dispinterface;
  DQWrapped = dispinterface;

{ An alias of a base type }
  QHandle = Longint;

  QPoint = packed record
    x: Longint;
    y: Longint;
  end;

  QNumber = packed record
    case Integer of
      0: (asLong: Longint);
      1: (asDouble: Double);
      2: (asBytes: array[0..7] of Byte);
  end;

  QPointAlias = QPoint;

  IQBase = interface(IUnknown)
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A1106}']
    function First(value: Longint): HResult; stdcall;
    function Second(out result: Longint): HResult; stdcall;
  end;

  IQDerived = interface(IQBase)
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A1107}']
    function Third(const other: IQBase; out copy: IQBase): HResult; stdcall;
  end;

  IQDual = dispinterface
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A1108}']
    property Name: WideString dispid 1;
    procedure Move(var to_: {QPoint}OleVariant; color: QColor); dispid 2;
    procedure Unnumbered(const thing: IQDerived); dispid 1610743811;
  end;

  IQDualDerived = dispinterface
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A1109}']
    property Name: WideString dispid 1;
    procedure Move(var to_: {QPoint}OleVariant; color: QColor); dispid 2;
    procedure Unnumbered(const thing: IQDerived); dispid 1610743811;
    function More(flag: WordBool): Longint; dispid 10;
  end;

  DQEvents = dispinterface
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A110A}']
    property count: Longint dispid 1;
    property Caption: WideString dispid 2;
    property Tag: OleVariant dispid 3;
    procedure Clicked(x: Longint; y: Longint); dispid 10;
    function Closing(var cancel: WordBool): WordBool; dispid 11;
    property Level: Longint dispid 12;
  end;

  DQWrapped = dispinterface
    ['{6A1F0C10-5B7E-4C1A-9E21-0D4F3B2A110B}']
    property Name: WideString dispid 1;
    procedure Move(var to_: {QPoint}OleVariant; color: QColor); dispid 2;
    procedure Unnumbered(const thing: IQDerived); dispid 1610743811;
  end;

implementation

end.
