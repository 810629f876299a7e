-- bench n: 200000
-- Lua strings are immutable, so s = s .. i would be quadratic; a buffer
-- table is how Lua appends in linear time.
n = tonumber(os.getenv("BENCH_N")) or 200000
parts = {}
for i = 0, n - 1 do
  parts[#parts + 1] = tostring(i)
end
s = table.concat(parts)
print(#s)
