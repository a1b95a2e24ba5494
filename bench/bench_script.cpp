// Speed of the script interpreter against Lua 5.4 on the same small programs:
// a counting loop, recursive Fibonacci, a million calls of a compiled
// one-line expression function, and the compile time of such a function.

#include "script/fs_iinterpreter.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

namespace {

const char *const kLoopPascal =
    "var i: Integer; s: Int64;\nbegin s := 0; for i := 1 to 10000000 do s := s + i * 2 + 1 end.";
const char *const kLoopLua = "local s = 0 for i = 1, 10000000 do s = s + i * 2 + 1 end return s";
const char *const kFibPascal =
    "function Fib(n: Integer): Integer; begin if n < 2 then Result := n else Result := Fib(n - 1) + Fib(n - 2) end;\n"
    "begin end.";
const char *const kFibLua = "function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end";
const char *const kExprPascal = "function fr3f0: Variant; begin Result := a + b * 2 end; begin end.";

void compileOrFail(TfsScript &script, const char *text, benchmark::State &state)
{
    script.SetLines(QString::fromUtf8(text));
    if (!script.Compile())
        state.SkipWithError(script.ErrorMsg().toUtf8().constData());
}

void BM_PascalLoop(benchmark::State &state)
{
    TfsScript script;
    script.AddRTTI();
    compileOrFail(script, kLoopPascal, state);
    for (auto _ : state)
        script.Execute();
    if (script.GetVariables(QStringLiteral("s")).ToInt64() != 100000020000000LL)
        state.SkipWithError("wrong sum");
}
BENCHMARK(BM_PascalLoop)->Unit(benchmark::kMillisecond);

void BM_LuaLoop(benchmark::State &state)
{
    lua_State *L = luaL_newstate();
    luaL_openlibs(L);
    for (auto _ : state) {
        luaL_dostring(L, kLoopLua);
        benchmark::DoNotOptimize(lua_tointeger(L, -1));
        lua_pop(L, 1);
    }
    lua_close(L);
}
BENCHMARK(BM_LuaLoop)->Unit(benchmark::kMillisecond);

void BM_PascalFib27(benchmark::State &state)
{
    TfsScript script;
    script.AddRTTI();
    compileOrFail(script, kFibPascal, state);
    for (auto _ : state) {
        const TfsVariant r = script.CallFunction(QStringLiteral("Fib"), {TfsVariant(27)});
        if (r.ToInt() != 196418)
            state.SkipWithError("wrong fib");
    }
}
BENCHMARK(BM_PascalFib27)->Unit(benchmark::kMillisecond);

void BM_LuaFib27(benchmark::State &state)
{
    lua_State *L = luaL_newstate();
    luaL_openlibs(L);
    luaL_dostring(L, kFibLua);
    for (auto _ : state) {
        lua_getglobal(L, "fib");
        lua_pushinteger(L, 27);
        lua_pcall(L, 1, 1, 0);
        benchmark::DoNotOptimize(lua_tointeger(L, -1));
        lua_pop(L, 1);
    }
    lua_close(L);
}
BENCHMARK(BM_LuaFib27)->Unit(benchmark::kMillisecond);

// The report's setting: the expression function lives in a child script whose
// parent holds the variables; the host calls the function item directly.
void BM_PascalExpressionCalls1M(benchmark::State &state)
{
    TfsScript parent;
    parent.AddRTTI();
    parent.AddVariable(QStringLiteral("a"), QStringLiteral("Integer"), TfsVariant(3));
    parent.AddVariable(QStringLiteral("b"), QStringLiteral("Integer"), TfsVariant(4));
    TfsScript cache(&parent);
    compileOrFail(cache, kExprPascal, state);
    auto *func = static_cast<TfsProcVariable *>(cache.FindLocal(QStringLiteral("fr3f0")));
    for (auto _ : state)
        for (int i = 0; i < 1000000; ++i)
            benchmark::DoNotOptimize(cache.CallFunction2(func, {}));
}
BENCHMARK(BM_PascalExpressionCalls1M)->Unit(benchmark::kMillisecond);

void BM_LuaExpressionCalls1M(benchmark::State &state)
{
    lua_State *L = luaL_newstate();
    luaL_openlibs(L);
    luaL_dostring(L, "a = 3 b = 4 function fr3f0() return a + b * 2 end");
    for (auto _ : state)
        for (int i = 0; i < 1000000; ++i) {
            lua_getglobal(L, "fr3f0");
            lua_pcall(L, 0, 1, 0);
            benchmark::DoNotOptimize(lua_tointeger(L, -1));
            lua_pop(L, 1);
        }
    lua_close(L);
}
BENCHMARK(BM_LuaExpressionCalls1M)->Unit(benchmark::kMillisecond);

void BM_PascalCompileExpression(benchmark::State &state)
{
    TfsScript parent;
    parent.AddRTTI();
    parent.AddVariable(QStringLiteral("a"), QStringLiteral("Integer"), TfsVariant(3));
    parent.AddVariable(QStringLiteral("b"), QStringLiteral("Integer"), TfsVariant(4));
    for (auto _ : state) {
        TfsScript cache(&parent);
        compileOrFail(cache, kExprPascal, state);
    }
}
BENCHMARK(BM_PascalCompileExpression)->Unit(benchmark::kMicrosecond);

void BM_LuaCompileExpression(benchmark::State &state)
{
    lua_State *L = luaL_newstate();
    for (auto _ : state) {
        luaL_loadstring(L, "function fr3f0() return a + b * 2 end");
        lua_pop(L, 1);
    }
    lua_close(L);
}
BENCHMARK(BM_LuaCompileExpression)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
