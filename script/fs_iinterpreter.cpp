// The script engine: interpreter, grammars and the system library.
