-- bench n: 1048576
-- Replaces every "fox" in a text of n bytes.
n = tonumber(os.getenv("BENCH_N")) or 1048576
local s = "The quick brown fox jumps over the lazy dog 0123456789, "
while #s < n do
  s = s .. s
end
s = s:sub(1, n)
local r = s:gsub("fox", "wolf")
print(#r .. " " .. r:sub(11, 19))
