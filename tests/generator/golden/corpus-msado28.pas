unit ADODB_TLB;

{$TYPEDADDRESS OFF}
{$WARN SYMBOL_PLATFORM OFF}
{$WRITEABLECONST ON}
{$VARPROPSETTER ON}

interface

uses
  Windows, ActiveX, Variants;

const
  CLSID_Connection: TGUID = '{00000514-0000-0010-8000-00AA006D2EA4}';
  CLSID_Record: TGUID = '{00000560-0000-0010-8000-00AA006D2EA4}';
  CLSID_Stream: TGUID = '{00000566-0000-0010-8000-00AA006D2EA4}';
  CLSID_Command: TGUID = '{00000507-0000-0010-8000-00AA006D2EA4}';
  CLSID_Recordset: TGUID = '{00000535-0000-0010-8000-00AA006D2EA4}';
  CLSID_Parameter: TGUID = '{0000050B-0000-0010-8000-00AA006D2EA4}';
  IID__Collection: TGUID = '{00000512-0000-0010-8000-00AA006D2EA4}';
  IID__DynaCollection: TGUID = '{00000513-0000-0010-8000-00AA006D2EA4}';
  IID__ADO: TGUID = '{00000534-0000-0010-8000-00AA006D2EA4}';
  IID_Properties: TGUID = '{00000504-0000-0010-8000-00AA006D2EA4}';
  IID_Property: TGUID = '{00000503-0000-0010-8000-00AA006D2EA4}';
  IID_Error: TGUID = '{00000500-0000-0010-8000-00AA006D2EA4}';
  IID_Errors: TGUID = '{00000501-0000-0010-8000-00AA006D2EA4}';
  IID_Command15: TGUID = '{00000508-0000-0010-8000-00AA006D2EA4}';
  IID__Connection: TGUID = '{00000550-0000-0010-8000-00AA006D2EA4}';
  IID_Connection15: TGUID = '{00000515-0000-0010-8000-00AA006D2EA4}';
  IID__Recordset: TGUID = '{00000556-0000-0010-8000-00AA006D2EA4}';
  IID_Recordset21: TGUID = '{00000555-0000-0010-8000-00AA006D2EA4}';
  IID_Recordset20: TGUID = '{0000054F-0000-0010-8000-00AA006D2EA4}';
  IID_Recordset15: TGUID = '{0000050E-0000-0010-8000-00AA006D2EA4}';
  IID_Fields: TGUID = '{00000564-0000-0010-8000-00AA006D2EA4}';
  IID_Fields20: TGUID = '{0000054D-0000-0010-8000-00AA006D2EA4}';
  IID_Fields15: TGUID = '{00000506-0000-0010-8000-00AA006D2EA4}';
  IID_Field: TGUID = '{00000569-0000-0010-8000-00AA006D2EA4}';
  IID_Field20: TGUID = '{0000054C-0000-0010-8000-00AA006D2EA4}';
  IID__Parameter: TGUID = '{0000050C-0000-0010-8000-00AA006D2EA4}';
  IID_Parameters: TGUID = '{0000050D-0000-0010-8000-00AA006D2EA4}';
  IID_Command25: TGUID = '{0000054E-0000-0010-8000-00AA006D2EA4}';
  IID__Command: TGUID = '{B08400BD-F9D1-4D02-B856-71D5DBA123E9}';
  IID_ConnectionEvents: TGUID = '{00000400-0000-0010-8000-00AA006D2EA4}';
  IID_RecordsetEvents: TGUID = '{00000266-0000-0010-8000-00AA006D2EA4}';
  IID__Record: TGUID = '{00000562-0000-0010-8000-00AA006D2EA4}';
  IID__Stream: TGUID = '{00000565-0000-0010-8000-00AA006D2EA4}';
  IID_Field15: TGUID = '{00000505-0000-0010-8000-00AA006D2EA4}';
  IID_ConnectionEventsVt: TGUID = '{00000402-0000-0010-8000-00AA006D2EA4}';
  IID_RecordsetEventsVt: TGUID = '{00000403-0000-0010-8000-00AA006D2EA4}';
  IID_ADOConnectionConstruction15: TGUID = '{00000516-0000-0010-8000-00AA006D2EA4}';
  IID_ADOConnectionConstruction: TGUID = '{00000551-0000-0010-8000-00AA006D2EA4}';
  IID_ADORecordConstruction: TGUID = '{00000567-0000-0010-8000-00AA006D2EA4}';
  IID_ADOStreamConstruction: TGUID = '{00000568-0000-0010-8000-00AA006D2EA4}';
  IID_ADOCommandConstruction: TGUID = '{00000517-0000-0010-8000-00AA006D2EA4}';
  IID_ADORecordsetConstruction: TGUID = '{00000283-0000-0010-8000-00AA006D2EA4}';

type
  CursorTypeEnum = TOleEnum;

const
  adOpenUnspecified = -1;
  adOpenForwardOnly = 0;
  adOpenKeyset = 1;
  adOpenDynamic = 2;
  adOpenStatic = 3;

type
  CursorOptionEnum = TOleEnum;

const
  adHoldRecords = 256;
  adMovePrevious = 512;
  adAddNew = 16778240;
  adDelete = 16779264;
  adUpdate = 16809984;
  adBookmark = 8192;
  adApproxPosition = 16384;
  adUpdateBatch = 65536;
  adResync = 131072;
  adNotify = 262144;
  adFind = 524288;
  adSeek = 4194304;
  adIndex = 8388608;

type
  LockTypeEnum = TOleEnum;

const
  adLockUnspecified = -1;
  adLockReadOnly = 1;
  adLockPessimistic = 2;
  adLockOptimistic = 3;
  adLockBatchOptimistic = 4;

type
  ExecuteOptionEnum = TOleEnum;

const
  adOptionUnspecified = -1;
  adAsyncExecute = 16;
  adAsyncFetch = 32;
  adAsyncFetchNonBlocking = 64;
  adExecuteNoRecords = 128;
  adExecuteStream = 1024;
  adExecuteRecord = 2048;

type
  ConnectOptionEnum = TOleEnum;

const
  adConnectUnspecified = -1;
  adAsyncConnect = 16;

type
  ObjectStateEnum = TOleEnum;

const
  adStateClosed = 0;
  adStateOpen = 1;
  adStateConnecting = 2;
  adStateExecuting = 4;
  adStateFetching = 8;

type
  CursorLocationEnum = TOleEnum;

const
  adUseNone = 1;
  adUseServer = 2;
  adUseClient = 3;
  adUseClientBatch = 3;

type
  DataTypeEnum = TOleEnum;

const
  adEmpty = 0;
  adTinyInt = 16;
  adSmallInt = 2;
  adInteger = 3;
  adBigInt = 20;
  adUnsignedTinyInt = 17;
  adUnsignedSmallInt = 18;
  adUnsignedInt = 19;
  adUnsignedBigInt = 21;
  adSingle = 4;
  adDouble = 5;
  adCurrency = 6;
  adDecimal = 14;
  adNumeric = 131;
  adBoolean = 11;
  adError = 10;
  adUserDefined = 132;
  adVariant = 12;
  adIDispatch = 9;
  adIUnknown = 13;
  adGUID = 72;
  adDate = 7;
  adDBDate = 133;
  adDBTime = 134;
  adDBTimeStamp = 135;
  adBSTR = 8;
  adChar = 129;
  adVarChar = 200;
  adLongVarChar = 201;
  adWChar = 130;
  adVarWChar = 202;
  adLongVarWChar = 203;
  adBinary = 128;
  adVarBinary = 204;
  adLongVarBinary = 205;
  adChapter = 136;
  adFileTime = 64;
  adPropVariant = 138;
  adVarNumeric = 139;
  adArray = 8192;

type
  FieldAttributeEnum = TOleEnum;

const
  adFldUnspecified = -1;
  adFldMayDefer = 2;
  adFldUpdatable = 4;
  adFldUnknownUpdatable = 8;
  adFldFixed = 16;
  adFldIsNullable = 32;
  adFldMayBeNull = 64;
  adFldLong = 128;
  adFldRowID = 256;
  adFldRowVersion = 512;
  adFldCacheDeferred = 4096;
  adFldIsChapter = 8192;
  adFldNegativeScale = 16384;
  adFldKeyColumn = 32768;
  adFldIsRowURL = 65536;
  adFldIsDefaultStream = 131072;
  adFldIsCollection = 262144;

type
  EditModeEnum = TOleEnum;

const
  adEditNone = 0;
  adEditInProgress = 1;
  adEditAdd = 2;
  adEditDelete = 4;

type
  RecordStatusEnum = TOleEnum;

const
  adRecOK = 0;
  adRecNew = 1;
  adRecModified = 2;
  adRecDeleted = 4;
  adRecUnmodified = 8;
  adRecInvalid = 16;
  adRecMultipleChanges = 64;
  adRecPendingChanges = 128;
  adRecCanceled = 256;
  adRecCantRelease = 1024;
  adRecConcurrencyViolation = 2048;
  adRecIntegrityViolation = 4096;
  adRecMaxChangesExceeded = 8192;
  adRecObjectOpen = 16384;
  adRecOutOfMemory = 32768;
  adRecPermissionDenied = 65536;
  adRecSchemaViolation = 131072;
  adRecDBDeleted = 262144;

type
  GetRowsOptionEnum = TOleEnum;

const
  adGetRowsRest = -1;

type
  PositionEnum = TOleEnum;

const
  adPosUnknown = -1;
  adPosBOF = -2;
  adPosEOF = -3;

type
  BookmarkEnum = TOleEnum;

const
  adBookmarkCurrent = 0;
  adBookmarkFirst = 1;
  adBookmarkLast = 2;

type
  MarshalOptionsEnum = TOleEnum;

const
  adMarshalAll = 0;
  adMarshalModifiedOnly = 1;

type
  AffectEnum = TOleEnum;

const
  adAffectCurrent = 1;
  adAffectGroup = 2;
  adAffectAll = 3;
  adAffectAllChapters = 4;

type
  ResyncEnum = TOleEnum;

const
  adResyncUnderlyingValues = 1;
  adResyncAllValues = 2;

type
  CompareEnum = TOleEnum;

const
  adCompareLessThan = 0;
  adCompareEqual = 1;
  adCompareGreaterThan = 2;
  adCompareNotEqual = 3;
  adCompareNotComparable = 4;

type
  FilterGroupEnum = TOleEnum;

const
  adFilterNone = 0;
  adFilterPendingRecords = 1;
  adFilterAffectedRecords = 2;
  adFilterFetchedRecords = 3;
  adFilterPredicate = 4;
  adFilterConflictingRecords = 5;

type
  SearchDirectionEnum = TOleEnum;

const
  adSearchForward = 1;
  adSearchBackward = -1;

type
  PersistFormatEnum = TOleEnum;

const
  adPersistADTG = 0;
  adPersistXML = 1;

type
  StringFormatEnum = TOleEnum;

const
  adClipString = 2;

type
  ConnectPromptEnum = TOleEnum;

const
  adPromptAlways = 1;
  adPromptComplete = 2;
  adPromptCompleteRequired = 3;
  adPromptNever = 4;

type
  ConnectModeEnum = TOleEnum;

const
  adModeUnknown = 0;
  adModeRead = 1;
  adModeWrite = 2;
  adModeReadWrite = 3;
  adModeShareDenyRead = 4;
  adModeShareDenyWrite = 8;
  adModeShareExclusive = 12;
  adModeShareDenyNone = 16;
  adModeRecursive = 4194304;

type
  RecordCreateOptionsEnum = TOleEnum;

const
  adCreateCollection = 8192;
  adCreateStructDoc = -2147483648;
  adCreateNonCollection = 0;
  adOpenIfExists = 33554432;
  adCreateOverwrite = 67108864;
  adFailIfNotExists = -1;

type
  RecordOpenOptionsEnum = TOleEnum;

const
  adOpenRecordUnspecified = -1;
  adOpenSource = 8388608;
  adOpenOutput = 8388608;
  adOpenAsync = 4096;
  adDelayFetchStream = 16384;
  adDelayFetchFields = 32768;
  adOpenExecuteCommand = 65536;

type
  IsolationLevelEnum = TOleEnum;

const
  adXactUnspecified = -1;
  adXactChaos = 16;
  adXactReadUncommitted = 256;
  adXactBrowse = 256;
  adXactCursorStability = 4096;
  adXactReadCommitted = 4096;
  adXactRepeatableRead = 65536;
  adXactSerializable = 1048576;
  adXactIsolated = 1048576;

type
  XactAttributeEnum = TOleEnum;

const
  adXactCommitRetaining = 131072;
  adXactAbortRetaining = 262144;
  adXactAsyncPhaseOne = 524288;
  adXactSyncPhaseOne = 1048576;

type
  PropertyAttributesEnum = TOleEnum;

const
  adPropNotSupported = 0;
  adPropRequired = 1;
  adPropOptional = 2;
  adPropRead = 512;
  adPropWrite = 1024;

type
  ErrorValueEnum = TOleEnum;

const
  adErrProviderFailed = 3000;
  adErrInvalidArgument = 3001;
  adErrOpeningFile = 3002;
  adErrReadFile = 3003;
  adErrWriteFile = 3004;
  adErrNoCurrentRecord = 3021;
  adErrIllegalOperation = 3219;
  adErrCantChangeProvider = 3220;
  adErrInTransaction = 3246;
  adErrFeatureNotAvailable = 3251;
  adErrItemNotFound = 3265;
  adErrObjectInCollection = 3367;
  adErrObjectNotSet = 3420;
  adErrDataConversion = 3421;
  adErrObjectClosed = 3704;
  adErrObjectOpen = 3705;
  adErrProviderNotFound = 3706;
  adErrBoundToCommand = 3707;
  adErrInvalidParamInfo = 3708;
  adErrInvalidConnection = 3709;
  adErrNotReentrant = 3710;
  adErrStillExecuting = 3711;
  adErrOperationCancelled = 3712;
  adErrStillConnecting = 3713;
  adErrInvalidTransaction = 3714;
  adErrNotExecuting = 3715;
  adErrUnsafeOperation = 3716;
  adwrnSecurityDialog = 3717;
  adwrnSecurityDialogHeader = 3718;
  adErrIntegrityViolation = 3719;
  adErrPermissionDenied = 3720;
  adErrDataOverflow = 3721;
  adErrSchemaViolation = 3722;
  adErrSignMismatch = 3723;
  adErrCantConvertvalue = 3724;
  adErrCantCreate = 3725;
  adErrColumnNotOnThisRow = 3726;
  adErrURLDoesNotExist = 3727;
  adErrTreePermissionDenied = 3728;
  adErrInvalidURL = 3729;
  adErrResourceLocked = 3730;
  adErrResourceExists = 3731;
  adErrCannotComplete = 3732;
  adErrVolumeNotFound = 3733;
  adErrOutOfSpace = 3734;
  adErrResourceOutOfScope = 3735;
  adErrUnavailable = 3736;
  adErrURLNamedRowDoesNotExist = 3737;
  adErrDelResOutOfScope = 3738;
  adErrPropInvalidColumn = 3739;
  adErrPropInvalidOption = 3740;
  adErrPropInvalidValue = 3741;
  adErrPropConflicting = 3742;
  adErrPropNotAllSettable = 3743;
  adErrPropNotSet = 3744;
  adErrPropNotSettable = 3745;
  adErrPropNotSupported = 3746;
  adErrCatalogNotSet = 3747;
  adErrCantChangeConnection = 3748;
  adErrFieldsUpdateFailed = 3749;
  adErrDenyNotSupported = 3750;
  adErrDenyTypeNotSupported = 3751;
  adErrProviderNotSpecified = 3753;
  adErrConnectionStringTooLong = 3754;

type
  ParameterAttributesEnum = TOleEnum;

const
  adParamSigned = 16;
  adParamNullable = 64;
  adParamLong = 128;

type
  ParameterDirectionEnum = TOleEnum;

const
  adParamUnknown = 0;
  adParamInput = 1;
  adParamOutput = 2;
  adParamInputOutput = 3;
  adParamReturnValue = 4;

type
  CommandTypeEnum = TOleEnum;

const
  adCmdUnspecified = -1;
  adCmdUnknown = 8;
  adCmdText = 1;
  adCmdTable = 2;
  adCmdStoredProc = 4;
  adCmdFile = 256;
  adCmdTableDirect = 512;

type
  EventStatusEnum = TOleEnum;

const
  adStatusOK = 1;
  adStatusErrorsOccurred = 2;
  adStatusCantDeny = 3;
  adStatusCancel = 4;
  adStatusUnwantedEvent = 5;

type
  EventReasonEnum = TOleEnum;

const
  adRsnAddNew = 1;
  adRsnDelete = 2;
  adRsnUpdate = 3;
  adRsnUndoUpdate = 4;
  adRsnUndoAddNew = 5;
  adRsnUndoDelete = 6;
  adRsnRequery = 7;
  adRsnResynch = 8;
  adRsnClose = 9;
  adRsnMove = 10;
  adRsnFirstChange = 11;
  adRsnMoveFirst = 12;
  adRsnMoveNext = 13;
  adRsnMovePrevious = 14;
  adRsnMoveLast = 15;

type
  SchemaEnum = TOleEnum;

const
  adSchemaProviderSpecific = -1;
  adSchemaAsserts = 0;
  adSchemaCatalogs = 1;
  adSchemaCharacterSets = 2;
  adSchemaCollations = 3;
  adSchemaColumns = 4;
  adSchemaCheckConstraints = 5;
  adSchemaConstraintColumnUsage = 6;
  adSchemaConstraintTableUsage = 7;
  adSchemaKeyColumnUsage = 8;
  adSchemaReferentialContraints = 9;
  adSchemaReferentialConstraints = 9;
  adSchemaTableConstraints = 10;
  adSchemaColumnsDomainUsage = 11;
  adSchemaIndexes = 12;
  adSchemaColumnPrivileges = 13;
  adSchemaTablePrivileges = 14;
  adSchemaUsagePrivileges = 15;
  adSchemaProcedures = 16;
  adSchemaSchemata = 17;
  adSchemaSQLLanguages = 18;
  adSchemaStatistics = 19;
  adSchemaTables = 20;
  adSchemaTranslations = 21;
  adSchemaProviderTypes = 22;
  adSchemaViews = 23;
  adSchemaViewColumnUsage = 24;
  adSchemaViewTableUsage = 25;
  adSchemaProcedureParameters = 26;
  adSchemaForeignKeys = 27;
  adSchemaPrimaryKeys = 28;
  adSchemaProcedureColumns = 29;
  adSchemaDBInfoKeywords = 30;
  adSchemaDBInfoLiterals = 31;
  adSchemaCubes = 32;
  adSchemaDimensions = 33;
  adSchemaHierarchies = 34;
  adSchemaLevels = 35;
  adSchemaMeasures = 36;
  adSchemaProperties = 37;
  adSchemaMembers = 38;
  adSchemaTrustees = 39;
  adSchemaFunctions = 40;
  adSchemaActions = 41;
  adSchemaCommands = 42;
  adSchemaSets = 43;

type
  FieldStatusEnum = TOleEnum;

const
  adFieldOK = 0;
  adFieldCantConvertValue = 2;
  adFieldIsNull = 3;
  adFieldTruncated = 4;
  adFieldSignMismatch = 5;
  adFieldDataOverflow = 6;
  adFieldCantCreate = 7;
  adFieldUnavailable = 8;
  adFieldPermissionDenied = 9;
  adFieldIntegrityViolation = 10;
  adFieldSchemaViolation = 11;
  adFieldBadStatus = 12;
  adFieldDefault = 13;
  adFieldIgnore = 15;
  adFieldDoesNotExist = 16;
  adFieldInvalidURL = 17;
  adFieldResourceLocked = 18;
  adFieldResourceExists = 19;
  adFieldCannotComplete = 20;
  adFieldVolumeNotFound = 21;
  adFieldOutOfSpace = 22;
  adFieldCannotDeleteSource = 23;
  adFieldReadOnly = 24;
  adFieldResourceOutOfScope = 25;
  adFieldAlreadyExists = 26;
  adFieldPendingInsert = 65536;
  adFieldPendingDelete = 131072;
  adFieldPendingChange = 262144;
  adFieldPendingUnknown = 524288;
  adFieldPendingUnknownDelete = 1048576;

type
  SeekEnum = TOleEnum;

const
  adSeekFirstEQ = 1;
  adSeekLastEQ = 2;
  adSeekAfterEQ = 4;
  adSeekAfter = 8;
  adSeekBeforeEQ = 16;
  adSeekBefore = 32;

type
  ADCPROP_UPDATECRITERIA_ENUM = TOleEnum;

const
  adCriteriaKey = 0;
  adCriteriaAllCols = 1;
  adCriteriaUpdCols = 2;
  adCriteriaTimeStamp = 3;

type
  ADCPROP_ASYNCTHREADPRIORITY_ENUM = TOleEnum;

const
  adPriorityLowest = 1;
  adPriorityBelowNormal = 2;
  adPriorityNormal = 3;
  adPriorityAboveNormal = 4;
  adPriorityHighest = 5;

type
  ADCPROP_AUTORECALC_ENUM = TOleEnum;

const
  adRecalcUpFront = 0;
  adRecalcAlways = 1;

type
  ADCPROP_UPDATERESYNC_ENUM = TOleEnum;

const
  adResyncNone = 0;
  adResyncAutoIncrement = 1;
  adResyncConflicts = 2;
  adResyncUpdates = 4;
  adResyncInserts = 8;
  adResyncAll = 15;

type
  MoveRecordOptionsEnum = TOleEnum;

const
  adMoveUnspecified = -1;
  adMoveOverWrite = 1;
  adMoveDontUpdateLinks = 2;
  adMoveAllowEmulation = 4;

type
  CopyRecordOptionsEnum = TOleEnum;

const
  adCopyUnspecified = -1;
  adCopyOverWrite = 1;
  adCopyAllowEmulation = 4;
  adCopyNonRecursive = 2;

type
  StreamTypeEnum = TOleEnum;

const
  adTypeBinary = 1;
  adTypeText = 2;

type
  LineSeparatorEnum = TOleEnum;

const
  adLF = 10;
  adCR = 13;
  adCRLF = -1;

type
  StreamOpenOptionsEnum = TOleEnum;

const
  adOpenStreamUnspecified = -1;
  adOpenStreamAsync = 1;
  adOpenStreamFromRecord = 4;

type
  StreamWriteEnum = TOleEnum;

const
  adWriteChar = 0;
  adWriteLine = 1;
  stWriteChar = 0;
  stWriteLine = 1;

type
  SaveOptionsEnum = TOleEnum;

const
  adSaveCreateNotExist = 1;
  adSaveCreateOverWrite = 2;

type
  FieldEnum = TOleEnum;

const
  adDefaultStream = -1;
  adRecordURL = -2;

type
  StreamReadEnum = TOleEnum;

const
  adReadAll = -1;
  adReadLine = -2;

type
  RecordTypeEnum = TOleEnum;

const
  adSimpleRecord = 0;
  adCollectionRecord = 1;
  adStructDoc = 2;

type
  ConnectionEventsVt = interface;
  RecordsetEventsVt = interface;
  ADOConnectionConstruction15 = interface;
  ADOConnectionConstruction = interface;
  ADORecordConstruction = interface;
  ADOStreamConstruction = interface;
  ADOCommandConstruction = interface;
  ADORecordsetConstruction = interface;
  _Collection = dispinterface;
  _DynaCollection = dispinterface;
  _ADO = dispinterface;
  Properties = dispinterface;
  Property_ = dispinterface;
  Error = dispinterface;
  Errors = dispinterface;
  Command15 = dispinterface;
  _Connection = dispinterface;
  Connection15 = dispinterface;
  _Recordset = dispinterface;
  Recordset21 = dispinterface;
  Recordset20 = dispinterface;
  Recordset15 = dispinterface;
  Fields = dispinterface;
  Fields20 = dispinterface;
  Fields15 = dispinterface;
  Field = dispinterface;
  Field20 = dispinterface;
  _Parameter = dispinterface;
  Parameters = dispinterface;
  Command25 = dispinterface;
  _Command = dispinterface;
  ConnectionEvents = dispinterface;
  RecordsetEvents = dispinterface;
  _Record = dispinterface;
  _Stream = dispinterface;
  Field15 = dispinterface;

  ADO_LONGPTR = Longint;
  PositionEnum_Param = PositionEnum;
  SearchDirection = SearchDirectionEnum;

  ConnectionEventsVt = interface(IUnknown)
    ['{00000402-0000-0010-8000-00AA006D2EA4}']
    function InfoMessage(const pError: Error; var adStatus: EventStatusEnum; 
      const pConnection: _Connection): HResult; stdcall;
    function BeginTransComplete(TransactionLevel: Longint; const pError: Error; 
      var adStatus: EventStatusEnum; const pConnection: _Connection): HResult; stdcall;
    function CommitTransComplete(const pError: Error; var adStatus: EventStatusEnum; 
      const pConnection: _Connection): HResult; stdcall;
    function RollbackTransComplete(const pError: Error; var adStatus: EventStatusEnum; 
      const pConnection: _Connection): HResult; stdcall;
    function WillExecute(var Source: WideString; var CursorType: CursorTypeEnum; 
      var LockType: LockTypeEnum; var Options: Longint; 
      var adStatus: EventStatusEnum; const pCommand: _Command; 
      const pRecordset: _Recordset; const pConnection: _Connection): HResult; stdcall;
    function ExecuteComplete(RecordsAffected: Longint; const pError: Error; 
      var adStatus: EventStatusEnum; const pCommand: _Command; 
      const pRecordset: _Recordset; const pConnection: _Connection): HResult; stdcall;
    function WillConnect(var ConnectionString: WideString; var UserID: WideString; 
      var Password: WideString; var Options: Longint; var adStatus: EventStatusEnum; 
      const pConnection: _Connection): HResult; stdcall;
    function ConnectComplete(const pError: Error; var adStatus: EventStatusEnum; 
      const pConnection: _Connection): HResult; stdcall;
    function Disconnect(var adStatus: EventStatusEnum; const pConnection: _Connection): HResult; stdcall;
  end;

  RecordsetEventsVt = interface(IUnknown)
    ['{00000403-0000-0010-8000-00AA006D2EA4}']
    function WillChangeField(cFields: Longint; Fields: OleVariant; 
      var adStatus: EventStatusEnum; const pRecordset: _Recordset): HResult; stdcall;
    function FieldChangeComplete(cFields: Longint; Fields: OleVariant; 
      const pError: Error; var adStatus: EventStatusEnum; 
      const pRecordset: _Recordset): HResult; stdcall;
    function WillChangeRecord(adReason: EventReasonEnum; cRecords: Longint; 
      var adStatus: EventStatusEnum; const pRecordset: _Recordset): HResult; stdcall;
    function RecordChangeComplete(adReason: EventReasonEnum; cRecords: Longint; 
      const pError: Error; var adStatus: EventStatusEnum; 
      const pRecordset: _Recordset): HResult; stdcall;
    function WillChangeRecordset(adReason: EventReasonEnum; 
      var adStatus: EventStatusEnum; const pRecordset: _Recordset): HResult; stdcall;
    function RecordsetChangeComplete(adReason: EventReasonEnum; const pError: Error; 
      var adStatus: EventStatusEnum; const pRecordset: _Recordset): HResult; stdcall;
    function WillMove(adReason: EventReasonEnum; var adStatus: EventStatusEnum; 
      const pRecordset: _Recordset): HResult; stdcall;
    function MoveComplete(adReason: EventReasonEnum; const pError: Error; 
      var adStatus: EventStatusEnum; const pRecordset: _Recordset): HResult; stdcall;
    function EndOfRecordset(var fMoreData: WordBool; var adStatus: EventStatusEnum; 
      const pRecordset: _Recordset): HResult; stdcall;
    function FetchProgress(Progress: Longint; MaxProgress: Longint; 
      var adStatus: EventStatusEnum; const pRecordset: _Recordset): HResult; stdcall;
    function FetchComplete(const pError: Error; var adStatus: EventStatusEnum; 
      const pRecordset: _Recordset): HResult; stdcall;
  end;

  ADOConnectionConstruction15 = interface(IUnknown)
    ['{00000516-0000-0010-8000-00AA006D2EA4}']
    function DSO(out ppDSO: IUnknown): HResult; stdcall;
    function Session(out ppSession: IUnknown): HResult; stdcall;
    function WrapDSOandSession(const pDSO: IUnknown; const pSession: IUnknown): HResult; stdcall;
  end;

  ADOConnectionConstruction = interface(ADOConnectionConstruction15)
    ['{00000551-0000-0010-8000-00AA006D2EA4}']
  end;

  ADORecordConstruction = interface(IDispatch)
    ['{00000567-0000-0010-8000-00AA006D2EA4}']
    function Get_Row(out ppRow: IUnknown): HResult; stdcall;
    function Set_Row(const ppRow: IUnknown): HResult; stdcall;
    function ParentRow: HResult; stdcall;
  end;

  ADOStreamConstruction = interface(IDispatch)
    ['{00000568-0000-0010-8000-00AA006D2EA4}']
    function Get_Stream(out ppStm: IUnknown): HResult; stdcall;
    function Set_Stream(const ppStm: IUnknown): HResult; stdcall;
  end;

  ADOCommandConstruction = interface(IUnknown)
    ['{00000517-0000-0010-8000-00AA006D2EA4}']
    function Get_OLEDBCommand(out ppOLEDBCommand: IUnknown): HResult; stdcall;
    function Set_OLEDBCommand(const ppOLEDBCommand: IUnknown): HResult; stdcall;
  end;

  ADORecordsetConstruction = interface(IDispatch)
    ['{00000283-0000-0010-8000-00AA006D2EA4}']
    function Get_Rowset(out ppRowset: IUnknown): HResult; stdcall;
    function Set_Rowset(const ppRowset: IUnknown): HResult; stdcall;
    function Get_Chapter(out plChapter: ADO_LONGPTR): HResult; stdcall;
    function Set_Chapter(plChapter: ADO_LONGPTR): HResult; stdcall;
    function Get_RowPosition(out ppRowPos: IUnknown): HResult; stdcall;
    function Set_RowPosition(const ppRowPos: IUnknown): HResult; stdcall;
  end;

  _Collection = dispinterface
    ['{00000512-0000-0010-8000-00AA006D2EA4}']
    property Count: Longint readonly dispid 1;
    function _NewEnum: IUnknown; dispid -4;
    procedure Refresh; dispid 2;
  end;

  _DynaCollection = dispinterface
    ['{00000513-0000-0010-8000-00AA006D2EA4}']
    property Count: Longint readonly dispid 1;
    function _NewEnum: IUnknown; dispid -4;
    procedure Refresh; dispid 2;
    procedure Append(const Object_: IDispatch); dispid 1610809344;
    procedure Delete(Index: OleVariant); dispid 1610809345;
  end;

  _ADO = dispinterface
    ['{00000534-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
  end;

  Properties = dispinterface
    ['{00000504-0000-0010-8000-00AA006D2EA4}']
    property Count: Longint readonly dispid 1;
    function _NewEnum: IUnknown; dispid -4;
    procedure Refresh; dispid 2;
    property Item[Index: OleVariant]: Property_ readonly dispid 0;
  end;

  Property_ = dispinterface
    ['{00000503-0000-0010-8000-00AA006D2EA4}']
    property Value: OleVariant dispid 0;
    property Name: WideString readonly dispid 1610743810;
    property Type_: DataTypeEnum readonly dispid 1610743811;
    property Attributes: Longint dispid 1610743812;
  end;

  Error = dispinterface
    ['{00000500-0000-0010-8000-00AA006D2EA4}']
    property Number: Longint readonly dispid 1;
    property Source: WideString readonly dispid 2;
    property Description: WideString readonly dispid 0;
    property HelpFile: WideString readonly dispid 3;
    property HelpContext: Longint readonly dispid 4;
    property SQLState: WideString readonly dispid 5;
    property NativeError: Longint readonly dispid 6;
  end;

  Errors = dispinterface
    ['{00000501-0000-0010-8000-00AA006D2EA4}']
    property Count: Longint readonly dispid 1;
    function _NewEnum: IUnknown; dispid -4;
    procedure Refresh; dispid 2;
    property Item[Index: OleVariant]: Error readonly dispid 0;
    procedure Clear; dispid 1610809345;
  end;

  Command15 = dispinterface
    ['{00000508-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property ActiveConnection: _Connection dispid 1;
    property CommandText: WideString dispid 2;
    property CommandTimeout: Longint dispid 3;
    property Prepared: WordBool dispid 4;
    function Execute({opt} out RecordsAffected: OleVariant; 
      {opt} var Parameters: OleVariant; {opt} Options: Longint): _Recordset; dispid 5;
    function CreateParameter({opt} const Name: WideString; {opt} Type_: DataTypeEnum; 
      {opt} Direction: ParameterDirectionEnum; {opt} Size: {ADO_LONGPTR}OleVariant; 
      {opt} Value: OleVariant): _Parameter; dispid 6;
    property Parameters: Parameters readonly dispid 0;
    property CommandType: CommandTypeEnum dispid 7;
    property Name: WideString dispid 8;
  end;

  _Connection = dispinterface
    ['{00000550-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property ConnectionString: WideString dispid 0;
    property CommandTimeout: Longint dispid 2;
    property ConnectionTimeout: Longint dispid 3;
    property Version: WideString readonly dispid 4;
    procedure Close; dispid 5;
    function Execute(const CommandText: WideString; 
      {opt} out RecordsAffected: OleVariant; {opt} Options: Longint): _Recordset; dispid 6;
    function BeginTrans: Longint; dispid 7;
    procedure CommitTrans; dispid 8;
    procedure RollbackTrans; dispid 9;
    procedure Open({opt} const ConnectionString: WideString; 
      {opt} const UserID: WideString; {opt} const Password: WideString; 
      {opt} Options: Longint); dispid 10;
    property Errors: Errors readonly dispid 11;
    property DefaultDatabase: WideString dispid 12;
    property IsolationLevel: IsolationLevelEnum dispid 13;
    property Attributes: Longint dispid 14;
    property CursorLocation: CursorLocationEnum dispid 15;
    property Mode: ConnectModeEnum dispid 16;
    property Provider: WideString dispid 17;
    property State: Longint readonly dispid 18;
    function OpenSchema(Schema: SchemaEnum; {opt} Restrictions: OleVariant; 
      {opt} SchemaID: OleVariant): _Recordset; dispid 19;
    procedure Cancel; dispid 21;
  end;

  Connection15 = dispinterface
    ['{00000515-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property ConnectionString: WideString dispid 0;
    property CommandTimeout: Longint dispid 2;
    property ConnectionTimeout: Longint dispid 3;
    property Version: WideString readonly dispid 4;
    procedure Close; dispid 5;
    function Execute(const CommandText: WideString; 
      {opt} out RecordsAffected: OleVariant; {opt} Options: Longint): _Recordset; dispid 6;
    function BeginTrans: Longint; dispid 7;
    procedure CommitTrans; dispid 8;
    procedure RollbackTrans; dispid 9;
    procedure Open({opt} const ConnectionString: WideString; 
      {opt} const UserID: WideString; {opt} const Password: WideString; 
      {opt} Options: Longint); dispid 10;
    property Errors: Errors readonly dispid 11;
    property DefaultDatabase: WideString dispid 12;
    property IsolationLevel: IsolationLevelEnum dispid 13;
    property Attributes: Longint dispid 14;
    property CursorLocation: CursorLocationEnum dispid 15;
    property Mode: ConnectModeEnum dispid 16;
    property Provider: WideString dispid 17;
    property State: Longint readonly dispid 18;
    function OpenSchema(Schema: SchemaEnum; {opt} Restrictions: OleVariant; 
      {opt} SchemaID: OleVariant): _Recordset; dispid 19;
  end;

  _Recordset = dispinterface
    ['{00000556-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property AbsolutePosition: {PositionEnum_Param}OleVariant dispid 1000;
    property ActiveConnection: OleVariant dispid 1001;
    property BOF: WordBool readonly dispid 1002;
    property Bookmark: OleVariant dispid 1003;
    property CacheSize: Longint dispid 1004;
    property CursorType: CursorTypeEnum dispid 1005;
    property EOF: WordBool readonly dispid 1006;
    property Fields: Fields readonly dispid 0;
    property LockType: LockTypeEnum dispid 1008;
    property MaxRecords: {ADO_LONGPTR}OleVariant dispid 1009;
    property RecordCount: {ADO_LONGPTR}OleVariant readonly dispid 1010;
    property Source: OleVariant dispid 1011;
    procedure AddNew({opt} FieldList: OleVariant; {opt} Values: OleVariant); dispid 1012;
    procedure CancelUpdate; dispid 1013;
    procedure Close; dispid 1014;
    procedure Delete({opt} AffectRecords: AffectEnum); dispid 1015;
    function GetRows({opt} Rows: Longint; {opt} Start: OleVariant; 
      {opt} Fields: OleVariant): OleVariant; dispid 1016;
    procedure Move(NumRecords: {ADO_LONGPTR}OleVariant; {opt} Start: OleVariant); dispid 1017;
    procedure MoveNext; dispid 1018;
    procedure MovePrevious; dispid 1019;
    procedure MoveFirst; dispid 1020;
    procedure MoveLast; dispid 1021;
    procedure Open({opt} Source: OleVariant; {opt} ActiveConnection: OleVariant; 
      {opt} CursorType: CursorTypeEnum; {opt} LockType: LockTypeEnum; 
      {opt} Options: Longint); dispid 1022;
    procedure Requery({opt} Options: Longint); dispid 1023;
    procedure _xResync({opt} AffectRecords: AffectEnum); dispid 1610809378;
    procedure Update({opt} Fields: OleVariant; {opt} Values: OleVariant); dispid 1025;
    property AbsolutePage: {PositionEnum_Param}OleVariant dispid 1047;
    property EditMode: EditModeEnum readonly dispid 1026;
    property Filter: OleVariant dispid 1030;
    property PageCount: {ADO_LONGPTR}OleVariant readonly dispid 1050;
    property PageSize: Longint dispid 1048;
    property Sort: WideString dispid 1031;
    property Status: Longint readonly dispid 1029;
    property State: Longint readonly dispid 1054;
    function _xClone: _Recordset; dispid 1610809392;
    procedure UpdateBatch({opt} AffectRecords: AffectEnum); dispid 1035;
    procedure CancelBatch({opt} AffectRecords: AffectEnum); dispid 1049;
    property CursorLocation: CursorLocationEnum dispid 1051;
    function NextRecordset({opt} out RecordsAffected: OleVariant): _Recordset; dispid 1052;
    function Supports(CursorOptions: CursorOptionEnum): WordBool; dispid 1036;
    property Collect[Index: OleVariant]: OleVariant dispid -8;
    property MarshalOptions: MarshalOptionsEnum dispid 1053;
    procedure Find(const Criteria: WideString; 
      {opt} SkipRecords: {ADO_LONGPTR}OleVariant; 
      {opt} SearchDirection: SearchDirectionEnum; {opt} Start: OleVariant); dispid 1058;
    procedure Cancel; dispid 1055;
    property DataSource: IUnknown dispid 1056;
    procedure _xSave({opt} const FileName: WideString; 
      {opt} PersistFormat: PersistFormatEnum); dispid 1610874883;
    property ActiveCommand: IDispatch readonly dispid 1061;
    property StayInSync: WordBool dispid 1063;
    function GetString({opt} StringFormat: StringFormatEnum; {opt} NumRows: Longint; 
      {opt} const ColumnDelimeter: WideString; 
      {opt} const RowDelimeter: WideString; {opt} const NullExpr: WideString): WideString; dispid 1062;
    property DataMember: WideString dispid 1064;
    function CompareBookmarks(Bookmark1: OleVariant; Bookmark2: OleVariant): CompareEnum; dispid 1065;
    function Clone({opt} LockType: LockTypeEnum): _Recordset; dispid 1034;
    procedure Resync({opt} AffectRecords: AffectEnum; {opt} ResyncValues: ResyncEnum); dispid 1024;
    procedure Seek(KeyValues: OleVariant; {opt} SeekOption: SeekEnum); dispid 1066;
    property Index: WideString dispid 1067;
    procedure Save({opt} Destination: OleVariant; 
      {opt} PersistFormat: PersistFormatEnum); dispid 1057;
  end;

  Recordset21 = dispinterface
    ['{00000555-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property AbsolutePosition: {PositionEnum_Param}OleVariant dispid 1000;
    property ActiveConnection: OleVariant dispid 1001;
    property BOF: WordBool readonly dispid 1002;
    property Bookmark: OleVariant dispid 1003;
    property CacheSize: Longint dispid 1004;
    property CursorType: CursorTypeEnum dispid 1005;
    property EOF: WordBool readonly dispid 1006;
    property Fields: Fields readonly dispid 0;
    property LockType: LockTypeEnum dispid 1008;
    property MaxRecords: {ADO_LONGPTR}OleVariant dispid 1009;
    property RecordCount: {ADO_LONGPTR}OleVariant readonly dispid 1010;
    property Source: OleVariant dispid 1011;
    procedure AddNew({opt} FieldList: OleVariant; {opt} Values: OleVariant); dispid 1012;
    procedure CancelUpdate; dispid 1013;
    procedure Close; dispid 1014;
    procedure Delete({opt} AffectRecords: AffectEnum); dispid 1015;
    function GetRows({opt} Rows: Longint; {opt} Start: OleVariant; 
      {opt} Fields: OleVariant): OleVariant; dispid 1016;
    procedure Move(NumRecords: {ADO_LONGPTR}OleVariant; {opt} Start: OleVariant); dispid 1017;
    procedure MoveNext; dispid 1018;
    procedure MovePrevious; dispid 1019;
    procedure MoveFirst; dispid 1020;
    procedure MoveLast; dispid 1021;
    procedure Open({opt} Source: OleVariant; {opt} ActiveConnection: OleVariant; 
      {opt} CursorType: CursorTypeEnum; {opt} LockType: LockTypeEnum; 
      {opt} Options: Longint); dispid 1022;
    procedure Requery({opt} Options: Longint); dispid 1023;
    procedure _xResync({opt} AffectRecords: AffectEnum); dispid 1610809378;
    procedure Update({opt} Fields: OleVariant; {opt} Values: OleVariant); dispid 1025;
    property AbsolutePage: {PositionEnum_Param}OleVariant dispid 1047;
    property EditMode: EditModeEnum readonly dispid 1026;
    property Filter: OleVariant dispid 1030;
    property PageCount: {ADO_LONGPTR}OleVariant readonly dispid 1050;
    property PageSize: Longint dispid 1048;
    property Sort: WideString dispid 1031;
    property Status: Longint readonly dispid 1029;
    property State: Longint readonly dispid 1054;
    function _xClone: _Recordset; dispid 1610809392;
    procedure UpdateBatch({opt} AffectRecords: AffectEnum); dispid 1035;
    procedure CancelBatch({opt} AffectRecords: AffectEnum); dispid 1049;
    property CursorLocation: CursorLocationEnum dispid 1051;
    function NextRecordset({opt} out RecordsAffected: OleVariant): _Recordset; dispid 1052;
    function Supports(CursorOptions: CursorOptionEnum): WordBool; dispid 1036;
    property Collect[Index: OleVariant]: OleVariant dispid -8;
    property MarshalOptions: MarshalOptionsEnum dispid 1053;
    procedure Find(const Criteria: WideString; 
      {opt} SkipRecords: {ADO_LONGPTR}OleVariant; 
      {opt} SearchDirection: SearchDirectionEnum; {opt} Start: OleVariant); dispid 1058;
    procedure Cancel; dispid 1055;
    property DataSource: IUnknown dispid 1056;
    procedure _xSave({opt} const FileName: WideString; 
      {opt} PersistFormat: PersistFormatEnum); dispid 1610874883;
    property ActiveCommand: IDispatch readonly dispid 1061;
    property StayInSync: WordBool dispid 1063;
    function GetString({opt} StringFormat: StringFormatEnum; {opt} NumRows: Longint; 
      {opt} const ColumnDelimeter: WideString; 
      {opt} const RowDelimeter: WideString; {opt} const NullExpr: WideString): WideString; dispid 1062;
    property DataMember: WideString dispid 1064;
    function CompareBookmarks(Bookmark1: OleVariant; Bookmark2: OleVariant): CompareEnum; dispid 1065;
    function Clone({opt} LockType: LockTypeEnum): _Recordset; dispid 1034;
    procedure Resync({opt} AffectRecords: AffectEnum; {opt} ResyncValues: ResyncEnum); dispid 1024;
    procedure Seek(KeyValues: OleVariant; {opt} SeekOption: SeekEnum); dispid 1066;
    property Index: WideString dispid 1067;
  end;

  Recordset20 = dispinterface
    ['{0000054F-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property AbsolutePosition: {PositionEnum_Param}OleVariant dispid 1000;
    property ActiveConnection: OleVariant dispid 1001;
    property BOF: WordBool readonly dispid 1002;
    property Bookmark: OleVariant dispid 1003;
    property CacheSize: Longint dispid 1004;
    property CursorType: CursorTypeEnum dispid 1005;
    property EOF: WordBool readonly dispid 1006;
    property Fields: Fields readonly dispid 0;
    property LockType: LockTypeEnum dispid 1008;
    property MaxRecords: {ADO_LONGPTR}OleVariant dispid 1009;
    property RecordCount: {ADO_LONGPTR}OleVariant readonly dispid 1010;
    property Source: OleVariant dispid 1011;
    procedure AddNew({opt} FieldList: OleVariant; {opt} Values: OleVariant); dispid 1012;
    procedure CancelUpdate; dispid 1013;
    procedure Close; dispid 1014;
    procedure Delete({opt} AffectRecords: AffectEnum); dispid 1015;
    function GetRows({opt} Rows: Longint; {opt} Start: OleVariant; 
      {opt} Fields: OleVariant): OleVariant; dispid 1016;
    procedure Move(NumRecords: {ADO_LONGPTR}OleVariant; {opt} Start: OleVariant); dispid 1017;
    procedure MoveNext; dispid 1018;
    procedure MovePrevious; dispid 1019;
    procedure MoveFirst; dispid 1020;
    procedure MoveLast; dispid 1021;
    procedure Open({opt} Source: OleVariant; {opt} ActiveConnection: OleVariant; 
      {opt} CursorType: CursorTypeEnum; {opt} LockType: LockTypeEnum; 
      {opt} Options: Longint); dispid 1022;
    procedure Requery({opt} Options: Longint); dispid 1023;
    procedure _xResync({opt} AffectRecords: AffectEnum); dispid 1610809378;
    procedure Update({opt} Fields: OleVariant; {opt} Values: OleVariant); dispid 1025;
    property AbsolutePage: {PositionEnum_Param}OleVariant dispid 1047;
    property EditMode: EditModeEnum readonly dispid 1026;
    property Filter: OleVariant dispid 1030;
    property PageCount: {ADO_LONGPTR}OleVariant readonly dispid 1050;
    property PageSize: Longint dispid 1048;
    property Sort: WideString dispid 1031;
    property Status: Longint readonly dispid 1029;
    property State: Longint readonly dispid 1054;
    function _xClone: _Recordset; dispid 1610809392;
    procedure UpdateBatch({opt} AffectRecords: AffectEnum); dispid 1035;
    procedure CancelBatch({opt} AffectRecords: AffectEnum); dispid 1049;
    property CursorLocation: CursorLocationEnum dispid 1051;
    function NextRecordset({opt} out RecordsAffected: OleVariant): _Recordset; dispid 1052;
    function Supports(CursorOptions: CursorOptionEnum): WordBool; dispid 1036;
    property Collect[Index: OleVariant]: OleVariant dispid -8;
    property MarshalOptions: MarshalOptionsEnum dispid 1053;
    procedure Find(const Criteria: WideString; 
      {opt} SkipRecords: {ADO_LONGPTR}OleVariant; 
      {opt} SearchDirection: SearchDirectionEnum; {opt} Start: OleVariant); dispid 1058;
    procedure Cancel; dispid 1055;
    property DataSource: IUnknown dispid 1056;
    procedure _xSave({opt} const FileName: WideString; 
      {opt} PersistFormat: PersistFormatEnum); dispid 1610874883;
    property ActiveCommand: IDispatch readonly dispid 1061;
    property StayInSync: WordBool dispid 1063;
    function GetString({opt} StringFormat: StringFormatEnum; {opt} NumRows: Longint; 
      {opt} const ColumnDelimeter: WideString; 
      {opt} const RowDelimeter: WideString; {opt} const NullExpr: WideString): WideString; dispid 1062;
    property DataMember: WideString dispid 1064;
    function CompareBookmarks(Bookmark1: OleVariant; Bookmark2: OleVariant): CompareEnum; dispid 1065;
    function Clone({opt} LockType: LockTypeEnum): _Recordset; dispid 1034;
    procedure Resync({opt} AffectRecords: AffectEnum; {opt} ResyncValues: ResyncEnum); dispid 1024;
  end;

  Recordset15 = dispinterface
    ['{0000050E-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property AbsolutePosition: {PositionEnum_Param}OleVariant dispid 1000;
    property ActiveConnection: OleVariant dispid 1001;
    property BOF: WordBool readonly dispid 1002;
    property Bookmark: OleVariant dispid 1003;
    property CacheSize: Longint dispid 1004;
    property CursorType: CursorTypeEnum dispid 1005;
    property EOF: WordBool readonly dispid 1006;
    property Fields: Fields readonly dispid 0;
    property LockType: LockTypeEnum dispid 1008;
    property MaxRecords: {ADO_LONGPTR}OleVariant dispid 1009;
    property RecordCount: {ADO_LONGPTR}OleVariant readonly dispid 1010;
    property Source: OleVariant dispid 1011;
    procedure AddNew({opt} FieldList: OleVariant; {opt} Values: OleVariant); dispid 1012;
    procedure CancelUpdate; dispid 1013;
    procedure Close; dispid 1014;
    procedure Delete({opt} AffectRecords: AffectEnum); dispid 1015;
    function GetRows({opt} Rows: Longint; {opt} Start: OleVariant; 
      {opt} Fields: OleVariant): OleVariant; dispid 1016;
    procedure Move(NumRecords: {ADO_LONGPTR}OleVariant; {opt} Start: OleVariant); dispid 1017;
    procedure MoveNext; dispid 1018;
    procedure MovePrevious; dispid 1019;
    procedure MoveFirst; dispid 1020;
    procedure MoveLast; dispid 1021;
    procedure Open({opt} Source: OleVariant; {opt} ActiveConnection: OleVariant; 
      {opt} CursorType: CursorTypeEnum; {opt} LockType: LockTypeEnum; 
      {opt} Options: Longint); dispid 1022;
    procedure Requery({opt} Options: Longint); dispid 1023;
    procedure _xResync({opt} AffectRecords: AffectEnum); dispid 1610809378;
    procedure Update({opt} Fields: OleVariant; {opt} Values: OleVariant); dispid 1025;
    property AbsolutePage: {PositionEnum_Param}OleVariant dispid 1047;
    property EditMode: EditModeEnum readonly dispid 1026;
    property Filter: OleVariant dispid 1030;
    property PageCount: {ADO_LONGPTR}OleVariant readonly dispid 1050;
    property PageSize: Longint dispid 1048;
    property Sort: WideString dispid 1031;
    property Status: Longint readonly dispid 1029;
    property State: Longint readonly dispid 1054;
    function _xClone: _Recordset; dispid 1610809392;
    procedure UpdateBatch({opt} AffectRecords: AffectEnum); dispid 1035;
    procedure CancelBatch({opt} AffectRecords: AffectEnum); dispid 1049;
    property CursorLocation: CursorLocationEnum dispid 1051;
    function NextRecordset({opt} out RecordsAffected: OleVariant): _Recordset; dispid 1052;
    function Supports(CursorOptions: CursorOptionEnum): WordBool; dispid 1036;
    property Collect[Index: OleVariant]: OleVariant dispid -8;
    property MarshalOptions: MarshalOptionsEnum dispid 1053;
    procedure Find(const Criteria: WideString; 
      {opt} SkipRecords: {ADO_LONGPTR}OleVariant; 
      {opt} SearchDirection: SearchDirectionEnum; {opt} Start: OleVariant); dispid 1058;
  end;

  Fields = dispinterface
    ['{00000564-0000-0010-8000-00AA006D2EA4}']
    property Count: Longint readonly dispid 1;
    function _NewEnum: IUnknown; dispid -4;
    procedure Refresh; dispid 2;
    property Item[Index: OleVariant]: Field readonly dispid 0;
    procedure _Append(const Name: WideString; Type_: DataTypeEnum; 
      {opt} DefinedSize: {ADO_LONGPTR}OleVariant; {opt} Attrib: FieldAttributeEnum); dispid 1610874880;
    procedure Delete(Index: OleVariant); dispid 4;
    procedure Append(const Name: WideString; Type_: DataTypeEnum; 
      {opt} DefinedSize: {ADO_LONGPTR}OleVariant; {opt} Attrib: FieldAttributeEnum; 
      {opt} FieldValue: OleVariant); dispid 3;
    procedure Update; dispid 5;
    procedure Resync({opt} ResyncValues: ResyncEnum); dispid 6;
    procedure CancelUpdate; dispid 7;
  end;

  Fields20 = dispinterface
    ['{0000054D-0000-0010-8000-00AA006D2EA4}']
    property Count: Longint readonly dispid 1;
    function _NewEnum: IUnknown; dispid -4;
    procedure Refresh; dispid 2;
    property Item[Index: OleVariant]: Field readonly dispid 0;
    procedure _Append(const Name: WideString; Type_: DataTypeEnum; 
      {opt} DefinedSize: {ADO_LONGPTR}OleVariant; {opt} Attrib: FieldAttributeEnum); dispid 1610874880;
    procedure Delete(Index: OleVariant); dispid 4;
  end;

  Fields15 = dispinterface
    ['{00000506-0000-0010-8000-00AA006D2EA4}']
    property Count: Longint readonly dispid 1;
    function _NewEnum: IUnknown; dispid -4;
    procedure Refresh; dispid 2;
    property Item[Index: OleVariant]: Field readonly dispid 0;
  end;

  Field = dispinterface
    ['{00000569-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property ActualSize: {ADO_LONGPTR}OleVariant readonly dispid 1109;
    property Attributes: Longint dispid 1114;
    property DefinedSize: {ADO_LONGPTR}OleVariant dispid 1103;
    property Name: WideString readonly dispid 1100;
    property Type_: DataTypeEnum dispid 1102;
    property Value: OleVariant dispid 0;
    property Precision: Byte dispid 1112;
    property NumericScale: Byte dispid 1113;
    procedure AppendChunk(Data: OleVariant); dispid 1107;
    function GetChunk(Length: Longint): OleVariant; dispid 1108;
    property OriginalValue: OleVariant readonly dispid 1104;
    property UnderlyingValue: OleVariant readonly dispid 1105;
    property DataFormat: IUnknown dispid 1115;
    property Status: Longint readonly dispid 1116;
  end;

  Field20 = dispinterface
    ['{0000054C-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property ActualSize: {ADO_LONGPTR}OleVariant readonly dispid 1109;
    property Attributes: Longint dispid 1114;
    property DefinedSize: {ADO_LONGPTR}OleVariant dispid 1103;
    property Name: WideString readonly dispid 1100;
    property Type_: DataTypeEnum dispid 1102;
    property Value: OleVariant dispid 0;
    property Precision: Byte dispid 1112;
    property NumericScale: Byte dispid 1113;
    procedure AppendChunk(Data: OleVariant); dispid 1107;
    function GetChunk(Length: Longint): OleVariant; dispid 1108;
    property OriginalValue: OleVariant readonly dispid 1104;
    property UnderlyingValue: OleVariant readonly dispid 1105;
    property DataFormat: IUnknown dispid 1115;
  end;

  _Parameter = dispinterface
    ['{0000050C-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property Name: WideString dispid 1;
    property Value: OleVariant dispid 0;
    property Type_: DataTypeEnum dispid 2;
    property Direction: ParameterDirectionEnum dispid 3;
    property Precision: Byte dispid 4;
    property NumericScale: Byte dispid 5;
    property Size: {ADO_LONGPTR}OleVariant dispid 6;
    procedure AppendChunk(Val: OleVariant); dispid 7;
    property Attributes: Longint dispid 8;
  end;

  Parameters = dispinterface
    ['{0000050D-0000-0010-8000-00AA006D2EA4}']
    property Count: Longint readonly dispid 1;
    function _NewEnum: IUnknown; dispid -4;
    procedure Refresh; dispid 2;
    procedure Append(const Object_: IDispatch); dispid 1610809344;
    procedure Delete(Index: OleVariant); dispid 1610809345;
    property Item[Index: OleVariant]: _Parameter readonly dispid 0;
  end;

  Command25 = dispinterface
    ['{0000054E-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property ActiveConnection: _Connection dispid 1;
    property CommandText: WideString dispid 2;
    property CommandTimeout: Longint dispid 3;
    property Prepared: WordBool dispid 4;
    function Execute({opt} out RecordsAffected: OleVariant; 
      {opt} var Parameters: OleVariant; {opt} Options: Longint): _Recordset; dispid 5;
    function CreateParameter({opt} const Name: WideString; {opt} Type_: DataTypeEnum; 
      {opt} Direction: ParameterDirectionEnum; {opt} Size: {ADO_LONGPTR}OleVariant; 
      {opt} Value: OleVariant): _Parameter; dispid 6;
    property Parameters: Parameters readonly dispid 0;
    property CommandType: CommandTypeEnum dispid 7;
    property Name: WideString dispid 8;
    property State: Longint readonly dispid 9;
    procedure Cancel; dispid 10;
  end;

  _Command = dispinterface
    ['{B08400BD-F9D1-4D02-B856-71D5DBA123E9}']
    property Properties: Properties readonly dispid 500;
    property ActiveConnection: _Connection dispid 1;
    property CommandText: WideString dispid 2;
    property CommandTimeout: Longint dispid 3;
    property Prepared: WordBool dispid 4;
    function Execute({opt} out RecordsAffected: OleVariant; 
      {opt} var Parameters: OleVariant; {opt} Options: Longint): _Recordset; dispid 5;
    function CreateParameter({opt} const Name: WideString; {opt} Type_: DataTypeEnum; 
      {opt} Direction: ParameterDirectionEnum; {opt} Size: {ADO_LONGPTR}OleVariant; 
      {opt} Value: OleVariant): _Parameter; dispid 6;
    property Parameters: Parameters readonly dispid 0;
    property CommandType: CommandTypeEnum dispid 7;
    property Name: WideString dispid 8;
    property State: Longint readonly dispid 9;
    procedure Cancel; dispid 10;
    property CommandStream: OleVariant dispid 11;
    property Dialect: WideString dispid 12;
    property NamedParameters: WordBool dispid 13;
  end;

  ConnectionEvents = dispinterface
    ['{00000400-0000-0010-8000-00AA006D2EA4}']
    procedure InfoMessage(const pError: Error; var adStatus: EventStatusEnum; 
      const pConnection: _Connection); dispid 0;
    procedure BeginTransComplete(TransactionLevel: Longint; const pError: Error; 
      var adStatus: EventStatusEnum; const pConnection: _Connection); dispid 1;
    procedure CommitTransComplete(const pError: Error; var adStatus: EventStatusEnum; 
      const pConnection: _Connection); dispid 3;
    procedure RollbackTransComplete(const pError: Error; var adStatus: EventStatusEnum; 
      const pConnection: _Connection); dispid 2;
    procedure WillExecute(var Source: WideString; var CursorType: CursorTypeEnum; 
      var LockType: LockTypeEnum; var Options: Longint; 
      var adStatus: EventStatusEnum; const pCommand: _Command; 
      const pRecordset: _Recordset; const pConnection: _Connection); dispid 4;
    procedure ExecuteComplete(RecordsAffected: Longint; const pError: Error; 
      var adStatus: EventStatusEnum; const pCommand: _Command; 
      const pRecordset: _Recordset; const pConnection: _Connection); dispid 5;
    procedure WillConnect(var ConnectionString: WideString; var UserID: WideString; 
      var Password: WideString; var Options: Longint; var adStatus: EventStatusEnum; 
      const pConnection: _Connection); dispid 6;
    procedure ConnectComplete(const pError: Error; var adStatus: EventStatusEnum; 
      const pConnection: _Connection); dispid 7;
    procedure Disconnect(var adStatus: EventStatusEnum; const pConnection: _Connection); dispid 8;
  end;

  RecordsetEvents = dispinterface
    ['{00000266-0000-0010-8000-00AA006D2EA4}']
    procedure WillChangeField(cFields: Longint; Fields: OleVariant; 
      var adStatus: EventStatusEnum; const pRecordset: _Recordset); dispid 9;
    procedure FieldChangeComplete(cFields: Longint; Fields: OleVariant; 
      const pError: Error; var adStatus: EventStatusEnum; 
      const pRecordset: _Recordset); dispid 10;
    procedure WillChangeRecord(adReason: EventReasonEnum; cRecords: Longint; 
      var adStatus: EventStatusEnum; const pRecordset: _Recordset); dispid 11;
    procedure RecordChangeComplete(adReason: EventReasonEnum; cRecords: Longint; 
      const pError: Error; var adStatus: EventStatusEnum; 
      const pRecordset: _Recordset); dispid 12;
    procedure WillChangeRecordset(adReason: EventReasonEnum; 
      var adStatus: EventStatusEnum; const pRecordset: _Recordset); dispid 13;
    procedure RecordsetChangeComplete(adReason: EventReasonEnum; const pError: Error; 
      var adStatus: EventStatusEnum; const pRecordset: _Recordset); dispid 14;
    procedure WillMove(adReason: EventReasonEnum; var adStatus: EventStatusEnum; 
      const pRecordset: _Recordset); dispid 15;
    procedure MoveComplete(adReason: EventReasonEnum; const pError: Error; 
      var adStatus: EventStatusEnum; const pRecordset: _Recordset); dispid 16;
    procedure EndOfRecordset(var fMoreData: WordBool; var adStatus: EventStatusEnum; 
      const pRecordset: _Recordset); dispid 17;
    procedure FetchProgress(Progress: Longint; MaxProgress: Longint; 
      var adStatus: EventStatusEnum; const pRecordset: _Recordset); dispid 18;
    procedure FetchComplete(const pError: Error; var adStatus: EventStatusEnum; 
      const pRecordset: _Recordset); dispid 19;
  end;

  _Record = dispinterface
    ['{00000562-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property ActiveConnection: OleVariant dispid 1;
    property State: ObjectStateEnum readonly dispid 2;
    property Source: OleVariant dispid 3;
    property Mode: ConnectModeEnum dispid 4;
    property ParentURL: WideString readonly dispid 5;
    function MoveRecord({opt} const Source: WideString; 
      {opt} const Destination: WideString; {opt} const UserName: WideString; 
      {opt} const Password: WideString; {opt} Options: MoveRecordOptionsEnum; 
      {opt} Async: WordBool): WideString; dispid 6;
    function CopyRecord({opt} const Source: WideString; 
      {opt} const Destination: WideString; {opt} const UserName: WideString; 
      {opt} const Password: WideString; {opt} Options: CopyRecordOptionsEnum; 
      {opt} Async: WordBool): WideString; dispid 7;
    procedure DeleteRecord({opt} const Source: WideString; {opt} Async: WordBool); dispid 8;
    procedure Open({opt} Source: OleVariant; {opt} ActiveConnection: OleVariant; 
      {opt} Mode: ConnectModeEnum; {opt} CreateOptions: RecordCreateOptionsEnum; 
      {opt} Options: RecordOpenOptionsEnum; {opt} const UserName: WideString; 
      {opt} const Password: WideString); dispid 9;
    procedure Close; dispid 10;
    property Fields: Fields readonly dispid 0;
    property RecordType: RecordTypeEnum readonly dispid 11;
    function GetChildren: _Recordset; dispid 12;
    procedure Cancel; dispid 13;
  end;

  _Stream = dispinterface
    ['{00000565-0000-0010-8000-00AA006D2EA4}']
    property Size: {ADO_LONGPTR}OleVariant readonly dispid 1;
    property EOS: WordBool readonly dispid 2;
    property Position: {ADO_LONGPTR}OleVariant dispid 3;
    property Type_: StreamTypeEnum dispid 4;
    property LineSeparator: LineSeparatorEnum dispid 5;
    property State: ObjectStateEnum readonly dispid 6;
    property Mode: ConnectModeEnum dispid 7;
    property Charset: WideString dispid 8;
    function Read({opt} NumBytes: Longint): OleVariant; dispid 9;
    procedure Open({opt} Source: OleVariant; {opt} Mode: ConnectModeEnum; 
      {opt} Options: StreamOpenOptionsEnum; {opt} const UserName: WideString; 
      {opt} const Password: WideString); dispid 10;
    procedure Close; dispid 11;
    procedure SkipLine; dispid 12;
    procedure Write(Buffer: OleVariant); dispid 13;
    procedure SetEOS; dispid 14;
    procedure CopyTo(const DestStream: _Stream; 
      {opt} CharNumber: {ADO_LONGPTR}OleVariant); dispid 15;
    procedure Flush; dispid 16;
    procedure SaveToFile(const FileName: WideString; {opt} Options: SaveOptionsEnum); dispid 17;
    procedure LoadFromFile(const FileName: WideString); dispid 18;
    function ReadText({opt} NumChars: Longint): WideString; dispid 19;
    procedure WriteText(const Data: WideString; {opt} Options: StreamWriteEnum); dispid 20;
    procedure Cancel; dispid 21;
  end;

  Field15 = dispinterface
    ['{00000505-0000-0010-8000-00AA006D2EA4}']
    property Properties: Properties readonly dispid 500;
    property ActualSize: {ADO_LONGPTR}OleVariant readonly dispid 1109;
    property Attributes: Longint readonly dispid 1114;
    property DefinedSize: {ADO_LONGPTR}OleVariant readonly dispid 1103;
    property Name: WideString readonly dispid 1100;
    property Type_: DataTypeEnum readonly dispid 1102;
    property Value: OleVariant dispid 0;
    property Precision: Byte readonly dispid 1112;
    property NumericScale: Byte readonly dispid 1113;
    procedure AppendChunk(Data: OleVariant); dispid 1107;
    function GetChunk(Length: Longint): OleVariant; dispid 1108;
    property OriginalValue: OleVariant readonly dispid 1104;
    property UnderlyingValue: OleVariant readonly dispid 1105;
  end;

implementation

end.
