// Errors caught by the script: a failed conversion, a raised error, and a
// finally block that runs on the way out.
var
  n: Integer;
begin
  try
    n := StrToInt('12a');
    ShowMessage('not reached');
  except
    ShowMessage('caught: ' + ExceptionMessage);
  end;
  try
    try
      RaiseException('boom');
    finally
      ShowMessage('cleanup');
    end;
  except
    ShowMessage('caught: ' + ExceptionMessage);
  end;
end.
