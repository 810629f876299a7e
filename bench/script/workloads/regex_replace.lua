-- bench n: 1048576
-- Wraps every run of digits in a text of n bytes with a pattern.
n = tonumber(os.getenv("BENCH_N")) or 1048576
local s = "The quick brown fox 42 jumps over the lazy dog 0123456789, "
while #s < n do
  s = s .. s
end
s = s:sub(1, n)
local r = s:gsub("%d+", "<%0>")
print(#r .. " " .. r:sub(21, 24))
