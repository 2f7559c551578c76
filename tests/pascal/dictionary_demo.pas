{ Calls Wine's Scripting.Dictionary through the import unit that quenlor generates from
  scrrun.dll: adds, counts, looks up, reads and writes Item, and prints what it answers. }
program dictionary_demo;

{$mode delphi}

uses
  SysUtils, Windows, ActiveX, ComObj, Variants, Scripting_TLB;

var
  Dispatch: IDispatch;
  Dictionary: IDictionary;
  Key, Value: OleVariant;
  Status: HResult;
begin
  CoInitialize(nil);
  Status := CoCreateInstance(CLSID_Dictionary, nil, CLSCTX_INPROC_SERVER, IDispatch, Dispatch);
  if Failed(Status) then
  begin
    WriteLn('CoCreateInstance(CLSID_Dictionary) failed: ', IntToHex(Status, 8));
    Halt(2);
  end;
  Dictionary := IDictionary(Dispatch);
  Key := 'alpha'; Value := 1;
  Dictionary.Add(Key, Value);
  Key := 'beta'; Value := 'two';
  Dictionary.Add(Key, Value);
  WriteLn('count: ', Dictionary.Count);
  Key := 'beta';
  Write('exists beta: ', Dictionary.Exists(Key));
  Key := 'gamma';
  WriteLn(', gamma: ', Dictionary.Exists(Key));
  WriteLn('alpha: ', Dictionary.Item['alpha'], ', beta: ', Dictionary.Item['beta']);
  Dictionary.Item['alpha'] := 42;
  Dictionary.Item['delta'] := 'four';
  WriteLn('alpha: ', Dictionary.Item['alpha'], ', delta: ', Dictionary.Item['delta'], ', count: ',
    Dictionary.Count);
  Dictionary := nil;
  Dispatch := nil;
  CoUninitialize;
end.
